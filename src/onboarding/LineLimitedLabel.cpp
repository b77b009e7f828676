#include "onboarding/LineLimitedLabel.h"

#include <QEvent>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>

namespace zentaris::tutorial {

LineLimitedLabel::LineLimitedLabel(int maximumLines, Qt::Alignment alignment, QWidget* parent)
    : QWidget(parent), maximumLines_(std::max(1, maximumLines)), alignment_(alignment) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void LineLimitedLabel::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    updateGeometry();
    update();
}

void LineLimitedLabel::setTextColor(const QColor& color) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::WindowText, color);
    setPalette(palette);
}

QStringList LineLimitedLabel::shownLines(int width) const {
    QStringList lines;
    if (text_.isEmpty() || width <= 0) return lines;
    QTextLayout layout(text_, font());
    QTextOption option;
    // Lines break between words only; a single word wider than a line is cut with an ellipsis
    // rather than split.
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() + 1 == maximumLines_) {
            // The last allowed line takes the rest of the text and cuts it.
            const QString rest = text_.mid(line.textStart()).simplified();
            lines << fontMetrics().elidedText(rest, Qt::ElideRight, width);
            break;
        }
        lines << fontMetrics().elidedText(text_.mid(line.textStart(), line.textLength()).trimmed(), Qt::ElideRight, width);
    }
    layout.endLayout();
    return lines;
}

int LineLimitedLabel::heightForWidth(int width) const {
    const auto count = std::max<qsizetype>(1, shownLines(width).size());
    return static_cast<int>(count) * fontMetrics().lineSpacing();
}

QSize LineLimitedLabel::sizeHint() const {
    const int natural = fontMetrics().horizontalAdvance(text_) + 1;
    return {natural, fontMetrics().lineSpacing()};
}

QSize LineLimitedLabel::minimumSizeHint() const { return {0, fontMetrics().lineSpacing()}; }

void LineLimitedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QStringList lines = shownLines(width());
    const int lineHeight = fontMetrics().lineSpacing();
    const int total = static_cast<int>(lines.size()) * lineHeight;
    int y = (alignment_ & Qt::AlignTop) ? 0 : std::max(0, (height() - total) / 2);
    const int horizontal = static_cast<int>(alignment_ & Qt::AlignHorizontal_Mask);
    for (const QString& line : lines) {
        painter.drawText(QRect(0, y, width(), lineHeight), horizontal | Qt::AlignVCenter, line);
        y += lineHeight;
    }
}

void LineLimitedLabel::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace zentaris::tutorial
