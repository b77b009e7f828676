#include "settings/SettingsWidgets.h"

#include "preferences/AppStyle.h"
#include "preferences/LanguageManager.h"
#include "settings/DeferredRefresh.h"
#include "views/SymbolImage.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QPalette>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QTextLayout>
#include <QVBoxLayout>

#include <cmath>

namespace zentaris {

QFont withWeight(QFont font, QFont::Weight weight) {
    font.setWeight(weight);
    return font;
}

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    widget->setPalette(palette);
}

LocalizedText::LocalizedText(std::string key, const QFont& font, const QColor& color, QWidget* parent)
    : QLabel(parent), key_(std::move(key)) {
    setFont(font);
    setTextColor(this, color);
    setTextFormat(Qt::PlainText);
    relabel();
    refreshOnLanguageChange(this, [this] { relabel(); });
}

void LocalizedText::setKey(std::string key) {
    key_ = std::move(key);
    relabel();
}

void LocalizedText::setTransform(std::function<QString(const QString&)> transform) {
    transform_ = std::move(transform);
    relabel();
}

void LocalizedText::relabel() {
    const QString text = QString::fromStdString(LanguageManager::shared().localizedString(key_));
    setText(transform_ ? transform_(text) : text);
}

RoundedPanel::RoundedPanel(std::function<QColor()> fill, double radius, QWidget* parent)
    : QWidget(parent), fill_(std::move(fill)), radius_(radius) {}

void RoundedPanel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill_());
    painter.drawRoundedRect(QRectF(rect()), radius_, radius_);
}

LimitedLinesLabel::LimitedLinesLabel(int maxLines, QWidget* parent) : QLabel(parent), maxLines_(maxLines) {
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Minimum);
}

void LimitedLinesLabel::setFullText(const QString& text) {
    fullText_ = text;
    setText(fittedText(width()));
    updateGeometry();
}

QString LimitedLinesLabel::fittedText(int width) const {
    if (width <= 0) return fullText_;
    const QFontMetrics metrics(font());
    QStringList lines;
    QTextLayout layout(fullText_, font());
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (lines.size() == maxLines_ - 1) {
            // The last allowed line takes the rest of the text, cut with an ellipsis.
            const QString rest = fullText_.mid(line.textStart()).simplified();
            lines.push_back(metrics.elidedText(rest, Qt::ElideRight, width));
            break;
        }
        lines.push_back(fullText_.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines.join(QLatin1Char('\n'));
}

int LimitedLinesLabel::heightForWidth(int width) const {
    const int lines = static_cast<int>(fittedText(width).count(QLatin1Char('\n'))) + 1;
    return lines * QFontMetrics(font()).lineSpacing();
}

QSize LimitedLinesLabel::sizeHint() const { return {QLabel::sizeHint().width(), heightForWidth(width())}; }

QSize LimitedLinesLabel::minimumSizeHint() const { return {20, QFontMetrics(font()).lineSpacing()}; }

void LimitedLinesLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    const QString fitted = fittedText(width());
    if (fitted != text()) setText(fitted);
}

int pointsToPixels(double points) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dotsPerInch = screen ? screen->logicalDotsPerInchY() : 96.0;
    return static_cast<int>(std::lround(points * dotsPerInch / 72.0));
}

void setSymbol(QLabel* view, const std::string& symbol, int side, const QColor& color) {
    const qreal ratio = view->devicePixelRatioF();
    view->setPixmap(symbolPixmap(symbol, pointsToPixels(side), color, ratio > 0 ? ratio : 1.0));
}

QLabel* symbolView(const std::string& symbol, int side, const QColor& color, int frameWidth, QWidget* parent) {
    auto* view = new QLabel(parent);
    view->setAlignment(Qt::AlignCenter);
    view->setFixedSize(pointsToPixels(std::max(frameWidth, side)), pointsToPixels(side));
    setSymbol(view, symbol, side, color);
    return view;
}

QFrame* makeCard(QWidget* parent) {
    auto* card = new QFrame(parent);
    card->setObjectName(QStringLiteral("settingsCard"));
    AppStyle::applyCardStyle(card);
    return card;
}

QWidget* sectionHeader(const std::string& symbol, const QColor& color, const std::string& titleKey) {
    auto* header = new QWidget;
    auto* row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);
    row->addWidget(symbolView(symbol, 16, color));
    row->addWidget(new LocalizedText(titleKey, withWeight(AppStyle::sectionTitleFont(), QFont::DemiBold)));
    row->addStretch(1);
    return header;
}

QWidget* settingLabel(const std::string& titleKey, const std::string& descriptionKey) {
    auto* label = new QWidget;
    auto* column = new QVBoxLayout(label);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(new LocalizedText(titleKey, withWeight(AppStyle::bodyFont(), QFont::Medium)));
    auto* description = new LocalizedText(descriptionKey, AppStyle::captionFont(), SystemColors::secondaryText());
    description->setWordWrap(true);
    column->addWidget(description);
    return label;
}

QFrame* divider() {
    auto* line = new QFrame;
    line->setFixedHeight(1);
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, SystemColors::separator());
    line->setPalette(palette);
    return line;
}

void applyProminentStyle(QWidget* button) {
    button->setFont(AppStyle::bodyFont());
    button->setStyleSheet(QStringLiteral(
        "QPushButton { background: palette(highlight); color: palette(highlighted-text); border: none; "
        "border-radius: 6px; padding: 5px 14px; }"
        "QPushButton:disabled { background: palette(mid); color: palette(base); }"));
}

void applyBorderedStyle(QWidget* button) {
    button->setFont(AppStyle::bodyFont());
    button->setStyleSheet(QStringLiteral(
        "QPushButton { background: palette(button); color: palette(button-text); border: 1px solid palette(mid); "
        "border-radius: 6px; padding: 4px 13px; }"
        "QPushButton:pressed { background: palette(midlight); }"
        "QPushButton:disabled { color: palette(mid); }"));
}

QScrollArea* makePageScrollArea(QWidget* content, QWidget* parent) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    scroll->setWidget(content);
    // The page content draws on the window background, not on the scroll area's base colour.
    content->setAutoFillBackground(true);
    content->setBackgroundRole(QPalette::Window);
    scroll->setBackgroundRole(QPalette::Window);
    return scroll;
}

QVBoxLayout* makePageColumn(QWidget* page) {
    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(24);
    auto* frame = new QVBoxLayout(page);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(makePageScrollArea(content));
    return column;
}

QLayout* pageHeader(const std::string& titleKey, const std::string& descriptionKey) {
    auto* header = new QVBoxLayout;
    header->setSpacing(4);
    header->addWidget(new LocalizedText(titleKey, withWeight(AppStyle::titleFont(), QFont::DemiBold)));
    auto* description = new LocalizedText(descriptionKey, AppStyle::calloutFont(), SystemColors::secondaryText());
    description->setWordWrap(true);
    header->addWidget(description);
    return header;
}

} // namespace zentaris
