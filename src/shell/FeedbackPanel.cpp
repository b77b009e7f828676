#include "shell/FeedbackPanel.h"

#include "shell/ScreenToWidgetGeometry.h"
#include "views/FeedbackCards.h"

#include <QBitmap>
#include <QImage>
#include <QPointer>
#include <QTimer>

namespace zentaris {

OverlayWindow::OverlayWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setWindowTitle(QStringLiteral("Zentaris"));
}

void OverlayWindow::placeAt(const platform::Rect& frame) { setGeometry(qtRectFromScreen(frame)); }

void OverlayWindow::placeCentredOn(const platform::Rect& frame) { setGeometry(qtRectCentredOnScreenFrame(frame)); }

void OverlayWindow::setContent(std::unique_ptr<QWidget> content) {
    delete content_;
    content_ = content.release();
    content_->setParent(this);
    content_->setGeometry(rect());
    content_->show();
    scheduleCuts();
}

void OverlayWindow::resizeEvent(QResizeEvent*) {
    if (content_) content_->setGeometry(rect());
    scheduleCuts();
}

void OverlayWindow::showEvent(QShowEvent*) { scheduleCuts(); }

void OverlayWindow::setTranslucencyAvailable(bool available) {
    translucencyAvailable_ = available;
    if (available) {
        clearMask();
    } else {
        scheduleCuts();
    }
}

void OverlayWindow::scheduleCuts() {
    if (translucencyAvailable_ || !content_) return;
    // Never cut from inside an event: grabbing delivers pending resize events, which land here again.
    // Cards also grow in with an entrance animation, so cut again once they have settled.
    QPointer<OverlayWindow> self(this);
    for (int delay : {0, 120, 400, 900}) {
        QTimer::singleShot(delay, this, [self] {
            if (self) self->cutToOpaqueContent();
        });
        if (contentIsStill_) break;
    }
}

void OverlayWindow::cutToOpaqueContent() {
    if (translucencyAvailable_ || !content_ || size().isEmpty() || cutting_) return;
    cutting_ = true;
    const QImage image = content_->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QBitmap mask = QBitmap::fromImage(image.createAlphaMask(Qt::ThresholdAlphaDither));
    if (mask.size() != size()) mask = QBitmap::fromPixmap(mask.scaled(size()));
    setMask(mask);
    cutting_ = false;
}

std::unique_ptr<QWidget> makeFeedbackCardView(const FeedbackCard& card) {
    switch (card.kind) {
    case FeedbackCard::Kind::cancellation: return std::make_unique<CancellationFeedbackView>();
    case FeedbackCard::Kind::dragModeToggle: return std::make_unique<DragModeToggleFeedbackView>(card.isEnabled);
    case FeedbackCard::Kind::tooManyWindows: return std::make_unique<TooManyWindowsFeedbackView>(card.required, card.actual);
    }
    return nullptr;
}

} // namespace zentaris
