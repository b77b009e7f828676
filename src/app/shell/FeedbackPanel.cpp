#include "app/shell/FeedbackPanel.h"

#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace zentaris {

FeedbackPanel::FeedbackPanel()
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus |
                           Qt::X11BypassWindowManagerHint) {
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setWindowTitle(QStringLiteral("Zentaris"));
    hideTimer_.setSingleShot(true);
    QObject::connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void FeedbackPanel::present(const QString& title, const QString& detail, const QColor& accent, int visibleMilliseconds) {
    if (!isVisible()) {
        title_ = title;
        detail_ = detail;
        accent_ = accent;
        QFont titleFont = font();
        titleFont.setPointSizeF(16);
        titleFont.setBold(true);
        const int width = std::max(QFontMetrics(titleFont).horizontalAdvance(title_),
                                   QFontMetrics(font()).horizontalAdvance(detail_)) + 64;
        resize(std::max(240, width), 100);
        QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
        if (!screen) screen = QGuiApplication::primaryScreen();
        if (screen) move(screen->geometry().center() - rect().center());
        show();
        raise();
    }
    hideTimer_.start(visibleMilliseconds);
}

void FeedbackPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath card;
    card.addRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 16, 16);
    painter.fillPath(card, QColor(30, 30, 34, 230));
    painter.setPen(QPen(accent_, 2));
    painter.drawPath(card);

    QFont titleFont = font();
    titleFont.setPointSizeF(16);
    titleFont.setBold(true);
    painter.setFont(titleFont);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 14, width(), 40), Qt::AlignCenter, title_);
    painter.setFont(font());
    painter.setPen(QColor(220, 220, 225));
    painter.drawText(QRect(16, 54, width() - 32, 34), Qt::AlignCenter | Qt::TextWordWrap, detail_);
}

} // namespace zentaris
