#include "onboarding/TutorialStyle.h"

#include "views/SymbolImage.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFontDatabase>
#include <QGraphicsDropShadowEffect>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace zentaris::tutorial {

QFont textFont(double size, QFont::Weight weight, bool monospaced) {
    QFont result = monospaced ? QFontDatabase::systemFont(QFontDatabase::FixedFont) : QApplication::font();
    result.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    result.setWeight(weight);
    return result;
}

QFont bodyFont(QFont::Weight weight, bool monospaced) { return textFont(13, weight, monospaced); }

RoundedPanel::RoundedPanel(const QColor& fill, double cornerRadius, QWidget* parent)
    : QWidget(parent), fill_(fill), cornerRadius_(cornerRadius) {}

void RoundedPanel::setFill(const QColor& fill) {
    fill_ = fill;
    update();
}

void RoundedPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_);
    const double radius = std::min({cornerRadius_, width() / 2.0, height() / 2.0});
    painter.drawRoundedRect(QRectF(rect()), radius, radius);
}

SymbolLabel::SymbolLabel(std::string name, int size, const QColor& color, QWidget* parent)
    : QLabel(parent), name_(std::move(name)), color_(color) {
    // A filled variant we do not draw separately is our plain symbol, which is filled already.
    constexpr std::string_view filled = ".fill";
    std::string drawn = name_;
    std::error_code error;
    if (!std::filesystem::exists(symbolPath(drawn), error) && drawn.ends_with(filled)) drawn.resize(drawn.size() - filled.size());
    setPixmap(symbolPixmap(drawn, size, color, devicePixelRatioF()));
    setAlignment(Qt::AlignCenter);
    setFixedHeight(size);
}

WrappingLabel::WrappingLabel(QWidget* parent) : QLabel(parent) {
    setWordWrap(true);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

QSize WrappingLabel::sizeHint() const {
    const QMargins margins = contentsMargins();
    // Measured as the label lays its text out: a plain advance falls a pixel or two short for
    // some scripts (Arabic), and the text would then wrap though one line has room.
    const QRect unbounded(0, 0, QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    const int natural = fontMetrics().boundingRect(unbounded, Qt::TextWordWrap, text()).width() + margins.left() + margins.right();
    const int width = std::min(natural, maximumWidth());
    return {width, heightForWidth(width)};
}

QLabel* makeLabel(const QFont& textFont, const QColor& color, bool wrap, QWidget* parent) {
    auto* label = wrap ? new WrappingLabel(parent) : new QLabel(parent);
    label->setFont(textFont);
    setTextColor(label, color);
    label->setTextFormat(Qt::PlainText);
    return label;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    widget->setPalette(palette);
}

void addCentered(QBoxLayout* layout, QWidget* widget, bool fillUpToMaximum) {
    const bool vertical = layout->direction() == QBoxLayout::TopToBottom || layout->direction() == QBoxLayout::BottomToTop;
    if (!vertical) {
        layout->addWidget(widget, 0, Qt::AlignVCenter);
        return;
    }
    // Spacers rather than an alignment, so that text that wraps is measured at the width it gets.
    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addStretch(1);
    if (fillUpToMaximum) widget->setSizePolicy(QSizePolicy::Expanding, widget->sizePolicy().verticalPolicy());
    row->addWidget(widget, fillUpToMaximum ? 1000 : 0);
    row->addStretch(1);
    layout->addLayout(row);
}

QVBoxLayout* addPaddedSection(QBoxLayout* page, int sidePadding) {
    auto* section = new QVBoxLayout;
    section->setContentsMargins(sidePadding, 0, sidePadding, 0);
    section->setSpacing(page->spacing());
    page->addLayout(section);
    return section;
}

void addShadow(QWidget* widget, double opacity, double radius, double offsetY) {
    auto* shadow = new QGraphicsDropShadowEffect(widget);
    shadow->setColor(withOpacity(Qt::black, opacity));
    shadow->setBlurRadius(radius * 2); // Qt's blur radius spans the whole fall-off
    shadow->setOffset(0, offsetY);
    widget->setGraphicsEffect(shadow);
}

} // namespace zentaris::tutorial
