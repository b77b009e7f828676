#include "app/shell/FeedbackPanel.h"

#include "views/FeedbackCards.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace zentaris {

OverlayWindow::OverlayWindow()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::X11BypassWindowManagerHint | Qt::WindowTransparentForInput) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setWindowTitle(QStringLiteral("Zentaris"));
}

QRect qtRectFromScreen(const platform::Rect& frame) {
    const QScreen* primary = QGuiApplication::primaryScreen();
    const QRect top = primary ? primary->geometry() : QRect();
    const double flip = top.y() + top.height();
    return QRect(static_cast<int>(std::lround(frame.minX() + top.x())), static_cast<int>(std::lround(flip - frame.maxY())),
                 static_cast<int>(std::lround(frame.width())), static_cast<int>(std::lround(frame.height())));
}

void OverlayWindow::placeAt(const platform::Rect& frame) { setGeometry(qtRectFromScreen(frame)); }

void OverlayWindow::setContent(std::unique_ptr<QWidget> content) {
    delete content_;
    content_ = content.release();
    content_->setParent(this);
    content_->setGeometry(rect());
    content_->show();
}

void OverlayWindow::resizeEvent(QResizeEvent*) {
    if (content_) content_->setGeometry(rect());
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
