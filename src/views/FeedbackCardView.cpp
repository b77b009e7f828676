#include "views/FeedbackCardView.h"

#include "views/MenuColors.h"
#include "views/SoftShadow.h"
#include "views/SymbolImage.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

#include <cmath>

namespace zentaris {

namespace {

constexpr double horizontalPadding = 24, verticalPadding = 16, clusterSpacing = 16, clusterSide = 48;
constexpr double columnSpacing = 4, hintSpacing = 4, cornerRadius = 16;
constexpr double glowBlur = 20, darkShadowBlur = 16, accentShadowBlur = 12;
constexpr double sparkleDistance = 25;
constexpr int frameInterval = 16;

QFont systemFont(double pixels, QFont::Weight weight) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(static_cast<int>(std::lround(pixels)));
    font.setWeight(weight);
    return font;
}
QFont titleFont(bool small) { return systemFont(small ? 16 : 18, QFont::Bold); }
QFont hintFont() { return systemFont(11, QFont::Medium); }
QFont badgeFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(12);
    font.setBold(true);
    return font;
}

// Text broken into at most `maximumLines` lines of `width`; the last line shown is elided.
QStringList wrapped(const QString& text, const QFont& font, double width, int maximumLines) {
    QStringList lines;
    QTextLayout layout(text, font);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << text.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    if (lines.size() > maximumLines) {
        QString rest = QStringList(lines.mid(maximumLines - 1)).join(QLatin1Char(' '));
        lines = lines.mid(0, maximumLines - 1);
        lines << QFontMetricsF(font).elidedText(rest, Qt::ElideRight, width);
    }
    return lines;
}

// A symbol's shape filled with a brush.
QImage filledSymbol(const std::string& name, int side, const QBrush& brush, qreal ratio) {
    const QPixmap shape = symbolPixmap(name, side, Qt::white, ratio);
    if (shape.isNull()) return {};
    QImage image = shape.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(1.0);
    QPainter painter(&image);
    painter.scale(ratio, ratio);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(QRectF(0, 0, side, side), brush);
    painter.end();
    image.setDevicePixelRatio(ratio);
    return image;
}

// A white four-pointed star.
void paintSparkle(QPainter& painter, QPointF centre, double size) {
    const double r = size / 2, w = size / 7;
    QPainterPath star;
    star.moveTo(centre.x(), centre.y() - r);
    star.quadTo(centre.x() + w, centre.y() - w, centre.x() + r, centre.y());
    star.quadTo(centre.x() + w, centre.y() + w, centre.x(), centre.y() + r);
    star.quadTo(centre.x() - w, centre.y() + w, centre.x() - r, centre.y());
    star.quadTo(centre.x() - w, centre.y() - w, centre.x(), centre.y() - r);
    painter.fillPath(star, Qt::white);
}

void scaleAbout(QPainter& painter, QPointF centre, double scale) {
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);
}

} // namespace

FeedbackCardView::FeedbackCardView(Style style, QWidget* parent) : QWidget(parent), style_(std::move(style)) {
    setAttribute(Qt::WA_TranslucentBackground);
    frameTimer_.setInterval(frameInterval);
    QObject::connect(&frameTimer_, &QTimer::timeout, this, [this] { nextFrame(); });
}

bool FeedbackCardView::entranceSettled(double now) const {
    for (const auto* track : {&visibility_, &glowScale_, &cardScale_, &glowIntensity_, &ringScale_, &iconScale_, &iconRotation_,
                              &titleSlide_, &titleOpacity_, &hintSlide_, &hintOpacity_}) {
        if (!track->isSettled(now)) return false;
    }
    for (const auto& sparkle : sparkleVisibility_) {
        if (!sparkle.isSettled(now)) return false;
    }
    return true;
}

void FeedbackCardView::nextFrame() {
    // After the entrance only the ring, the halo and the sparkles keep moving.
    if (!clusterArea_.isEmpty() && entranceSettled(clock())) {
        update(clusterArea_.toAlignedRect());
    } else {
        update();
    }
}

QImage FeedbackCardView::layerImage(QSizeF size, const std::function<void(QPainter&)>& paint) const {
    const qreal ratio = devicePixelRatioF();
    QImage image(std::max(1, static_cast<int>(std::ceil(size.width() * ratio))),
                 std::max(1, static_cast<int>(std::ceil(size.height() * ratio))), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    paint(painter);
    return image;
}

void FeedbackCardView::showEvent(QShowEvent*) {
    if (!entranceStarted_) startEntrance();
    if (!frozenClock_) frameTimer_.start();
}

void FeedbackCardView::hideEvent(QHideEvent*) { frameTimer_.stop(); }

void FeedbackCardView::freezeClock(double seconds) {
    if (!entranceStarted_) startEntrance();
    frozenClock_ = seconds;
    frameTimer_.stop();
    update();
}

double FeedbackCardView::clock() const {
    if (frozenClock_) return *frozenClock_;
    return shownAt_.isValid() ? shownAt_.elapsed() / 1000.0 : 0.0;
}

// The entrance: a spring reveal, the glow fading in, the halo pulsing and the ring turning for
// good; the icon turns once from 0.1 s, swells at 0.6 s and settles at 0.8 s. Each shown property
// moves with the animation its layer declares, else with that of the step that changed it.
void FeedbackCardView::startEntrance() {
    entranceStarted_ = true;
    shownAt_.start();
    using Curve = AnimationCurve;
    const Curve reveal = Curve::spring(200, 20);
    visibility_.add(1, 0, reveal);
    glowScale_.add(1, 0, reveal);
    cardScale_.add(1, 0, Curve::spring(300, 25));
    iconScale_.add(1, 0, Curve::spring(300, 15));
    for (int i = 0; i < 3; ++i) sparkleVisibility_[i].add(1, 0, Curve::easeOut(0.5, 0.1 * i));
    if (style_.hint) {
        // The too-many texts fade in without sliding.
        titleSlide_ = AnimationTrack(0);
        hintSlide_ = AnimationTrack(0);
        titleOpacity_.add(1, 0, Curve::easeOut(0.4, 0.15));
        hintOpacity_.add(1, 0, Curve::easeOut(0.4, 0.25));
    } else {
        // The slide is declared first on these layers, so it carries the fade too.
        titleSlide_.add(0, 0, Curve::easeOut(0.6, 0.2));
        titleOpacity_.add(1, 0, Curve::easeOut(0.6, 0.2));
        hintSlide_.add(0, 0, Curve::easeOut(0.5, 0.3));
        hintOpacity_.add(1, 0, Curve::easeOut(0.5, 0.3));
    }
    glowIntensity_.add(1, 0, Curve::easeOut(0.8, 0));
    ringScale_.add(1.15, 0, Curve::easeOut(0.6, 0));
    haloScale_.add(1.15, 0, Curve::easeInOut(1.2).repeatingForever(true));
    ringAngle_.add(360, 0, Curve::linear(2.0).repeatingForever(false));
    sparkleAngle_.add(360, 0, Curve::linear(3.0).repeatingForever(false));
    iconRotation_.add(360, 0.1, Curve::easeOut(0.4, 0));
    iconScale_.add(1.1, 0.6, Curve::spring(300, 15));
    iconScale_.add(1.0, 0.8, Curve::spring(300, 15));
}

FeedbackCardView::Frame FeedbackCardView::frameAt(double seconds) const {
    return {visibility_.at(seconds),     iconScale_.at(seconds),
            iconRotation_.at(seconds),   glowIntensity_.at(seconds),
            titleSlide_.at(seconds),     {sparkleVisibility_[0].at(seconds), sparkleVisibility_[1].at(seconds),
                                          sparkleVisibility_[2].at(seconds)}};
}

const FeedbackCardView::TextLayout& FeedbackCardView::layoutText() const {
    if (textLayout_ && textLayout_->first == width()) return textLayout_->second;
    TextLayout layout;
    const bool wraps = style_.hint.has_value();
    const QFontMetricsF titleMetrics(titleFont(wraps));
    if (wraps) {
        const double offered = std::max(80.0, width() - 2 * horizontalPadding - clusterSide - clusterSpacing);
        layout.titleLines = wrapped(style_.title, titleFont(true), offered, 2);
        layout.hintLines = wrapped(*style_.hint, hintFont(), offered, 3);
        const QFontMetricsF hintMetrics(hintFont());
        double width = 0;
        for (const auto& line : layout.titleLines) width = std::max(width, titleMetrics.horizontalAdvance(line));
        for (const auto& line : layout.hintLines) width = std::max(width, hintMetrics.horizontalAdvance(line));
        layout.titleRect = QRectF(0, 0, std::ceil(width), layout.titleLines.size() * titleMetrics.height());
        layout.secondRect = QRectF(0, layout.titleRect.bottom() + columnSpacing, std::ceil(width),
                                   layout.hintLines.size() * hintMetrics.height());
    } else {
        layout.titleLines = QStringList{style_.title};
        layout.titleRect = QRectF(0, 0, std::ceil(titleMetrics.horizontalAdvance(style_.title)), titleMetrics.height());
        double row = 10;
        if (style_.badge) row += hintSpacing + QFontMetricsF(badgeFont()).horizontalAdvance(*style_.badge) + 12;
        const double rowHeight = style_.badge ? QFontMetricsF(badgeFont()).height() + 4 : 12;
        layout.secondRect = QRectF(0, layout.titleRect.bottom() + columnSpacing, row, rowHeight);
    }
    layout.size = QSizeF(std::max(layout.titleRect.width(), layout.secondRect.width()), layout.secondRect.bottom());
    textLayout_.emplace(width(), layout);
    return textLayout_->second;
}

QRectF FeedbackCardView::cardRect() const {
    const QSizeF text = layoutText().size;
    const double w = horizontalPadding * 2 + clusterSide + clusterSpacing + text.width();
    const double h = verticalPadding * 2 + std::max(clusterSide, text.height());
    return QRectF(width() / 2.0 - w / 2, height() / 2.0 - h / 2, w, h);
}

void FeedbackCardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const double now = clock();
    const QRectF card = cardRect();
    const TextLayout text = layoutText();

    paintGlow(painter, now);
    paintBackground(painter, card, now);
    const double contentTop = card.top() + verticalPadding;
    const double contentHeight = card.height() - 2 * verticalPadding;
    // The icon stands at the leading edge and the texts follow it: mirrored right to left.
    const bool rightToLeft = layoutDirection() == Qt::RightToLeft;
    const double clusterX = rightToLeft ? card.right() - horizontalPadding - clusterSide / 2
                                        : card.left() + horizontalPadding + clusterSide / 2;
    const QPointF clusterCentre(clusterX, contentTop + contentHeight / 2);
    // The ring and halo grow by 15 % and the sparkles circle beyond them.
    constexpr double reach = sparkleDistance + 12;
    clusterArea_ = QRectF(clusterCentre.x() - reach, clusterCentre.y() - reach, 2 * reach, 2 * reach);
    paintIconCluster(painter, clusterCentre, now);
    const double columnLeft = rightToLeft ? clusterCentre.x() - clusterSide / 2 - clusterSpacing - text.size.width()
                                          : clusterCentre.x() + clusterSide / 2 + clusterSpacing;
    const QRectF column(columnLeft, contentTop + (contentHeight - text.size.height()) / 2, text.size.width(),
                        text.size.height());
    paintTexts(painter, column, text, now);
    if (!frozenClock_ && !frameTimer_.isActive() && isVisible()) frameTimer_.start();
}

void FeedbackCardView::paintGlow(QPainter& painter, double now) {
    const double w = style_.glowWidth > 0 ? style_.glowWidth : width();
    const QRectF glow(width() / 2.0 - w / 2, height() / 2.0 - style_.glowHeight / 2, w, style_.glowHeight);
    if (glowImage_.isNull() || glowImage_.width() != static_cast<int>(w) + 2 * static_cast<int>(glowBlur)) {
        // Drawn once at full strength; the intensity scales every colour's opacity alike.
        QImage shape(static_cast<int>(w), static_cast<int>(style_.glowHeight), QImage::Format_ARGB32_Premultiplied);
        shape.fill(Qt::transparent);
        QPainter p(&shape);
        p.setRenderHint(QPainter::Antialiasing);
        const QPointF centre(w / 2, style_.glowHeight / 2);
        QRadialGradient gradient(centre, style_.glowEndRadius, centre, 10);
        gradient.setColorAt(0, withOpacity(style_.firstGlow, 0.15));
        gradient.setColorAt(0.5, withOpacity(style_.secondGlow, 0.08));
        gradient.setColorAt(1, Qt::transparent);
        QPainterPath path;
        path.addRoundedRect(QRectF(0, 0, w, style_.glowHeight), cornerRadius, cornerRadius);
        p.fillPath(path, gradient);
        p.end();
        glowImage_ = blurredImage(shape, static_cast<int>(glowBlur));
    }
    painter.save();
    painter.setOpacity(std::clamp(glowIntensity_.at(now), 0.0, 1.0));
    scaleAbout(painter, glow.center(), glowScale_.at(now));
    painter.drawImage(QPointF(glow.left() - glowBlur, glow.top() - glowBlur), glowImage_);
    painter.restore();
}

void FeedbackCardView::paintBackground(QPainter& painter, const QRectF& card, double now) {
    // The card and its two shadows, drawn once around the card's own origin.
    const QSizeF area(card.width() + 2 * darkShadowBlur, card.height() + 2 * darkShadowBlur + 8);
    if (cardImage_.isNull() || cardArea_ != area) {
        cardArea_ = area;
        if (shadowImage_.isNull() || shadowImage_.width() != static_cast<int>(card.width()) + 2 * static_cast<int>(darkShadowBlur)) {
            QImage shape(static_cast<int>(card.width()), static_cast<int>(card.height()), QImage::Format_ARGB32_Premultiplied);
            shape.fill(Qt::transparent);
            QPainter p(&shape);
            p.setRenderHint(QPainter::Antialiasing);
            QPainterPath path;
            path.addRoundedRect(QRectF(0, 0, card.width(), card.height()), cornerRadius, cornerRadius);
            p.fillPath(path, Qt::black);
            p.end();
            shadowImage_ = blurredImage(shape, static_cast<int>(darkShadowBlur));
        }
        const QRectF local(darkShadowBlur, darkShadowBlur, card.width(), card.height());
        cardImage_ = layerImage(area, [&](QPainter& p) {
            p.setOpacity(0.2);
            p.drawImage(QPointF(local.left() - darkShadowBlur, local.top() - darkShadowBlur + 8), shadowImage_);
            // The accent shadow: the same shape, a little tighter, in the accent colour.
            QImage accentShadow = shadowImage_;
            {
                QPainter tint(&accentShadow);
                tint.setCompositionMode(QPainter::CompositionMode_SourceIn);
                tint.fillRect(accentShadow.rect(), style_.accent);
            }
            p.drawImage(QRectF(local.left() - accentShadowBlur, local.top() - accentShadowBlur + 4,
                               local.width() + 2 * accentShadowBlur, local.height() + 2 * accentShadowBlur),
                        accentShadow);
            p.setOpacity(1);
            QPainterPath path;
            path.addRoundedRect(local, cornerRadius, cornerRadius);
            p.fillPath(path, withOpacity(palette().color(QPalette::Window), 0.82));
            p.setPen(QPen(withOpacity(Qt::white, 0.4), 1));
            p.drawPath(path);
        });
    }
    painter.save();
    scaleAbout(painter, card.center(), cardScale_.at(now));
    painter.drawImage(QPointF(card.left() - darkShadowBlur, card.top() - darkShadowBlur), cardImage_);
    painter.restore();
}

void FeedbackCardView::paintIconCluster(QPainter& painter, QPointF centre, double now) {
    const double visible = std::clamp(visibility_.at(now), 0.0, 1.0);
    const qreal ratio = devicePixelRatioF();

    // Ring.
    painter.save();
    painter.setOpacity(0.8 * visible);
    scaleAbout(painter, centre, ringScale_.at(now));
    painter.translate(centre);
    painter.rotate(ringAngle_.at(now));
    // The gradient starts at the ring's angle and runs clockwise; Qt's conical gradient counts
    // its angle and places its stops counter-clockwise, so both are mirrored.
    QConicalGradient ring(QPointF(0, 0), -ringAngle_.at(now));
    ring.setColorAt(0, withOpacity(style_.accent, 0.6));
    ring.setColorAt(2.0 / 3, withOpacity(style_.second, 0.4));
    ring.setColorAt(1.0 / 3, withOpacity(style_.ringThird, 0.3));
    ring.setColorAt(1, withOpacity(style_.accent, 0.6));
    painter.setPen(QPen(QBrush(ring), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(0, 0), clusterSide / 2 - 1, clusterSide / 2 - 1);
    painter.restore();

    // Halo.
    painter.save();
    scaleAbout(painter, centre, haloScale_.at(now));
    QRadialGradient halo(centre, 24, centre, 8);
    halo.setColorAt(0, withOpacity(style_.accent, 0.4));
    halo.setColorAt(0.5, withOpacity(style_.second, 0.2));
    halo.setColorAt(1, Qt::transparent);
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(centre, 21.0, 21.0);
    painter.restore();

    // Symbol, with its shadow.
    constexpr int symbolSide = 30;
    QLinearGradient fill(0, 0, symbolSide, symbolSide);
    fill.setColorAt(0, style_.accent);
    fill.setColorAt(0.5, withOpacity(style_.second, 0.9));
    fill.setColorAt(1, withOpacity(style_.accent, 0.7));
    if (symbolImage_.isNull()) {
        symbolImage_ = filledSymbol(style_.symbol, symbolSide, fill, ratio);
        if (!symbolImage_.isNull()) {
            symbolShadow_ = blurredImage(filledSymbol(style_.symbol, symbolSide, withOpacity(style_.accent, 0.5), ratio), 4);
        }
    }
    if (!symbolImage_.isNull()) {
        const QImage& symbol = symbolImage_;
        const QImage& shadow = symbolShadow_;
        painter.save();
        painter.translate(centre);
        painter.scale(iconScale_.at(now), iconScale_.at(now));
        painter.rotate(iconRotation_.at(now));
        painter.drawImage(QRectF(-symbolSide / 2.0 - 4, -symbolSide / 2.0 - 4 + 2, symbolSide + 8, symbolSide + 8), shadow);
        painter.drawImage(QRectF(-symbolSide / 2.0, -symbolSide / 2.0, symbolSide, symbolSide), symbol);
        painter.restore();
    }

    // Sparkles: they move out from the centre as they grow.
    for (int i = 0; i < 3; ++i) {
        const double shown = std::clamp(sparkleVisibility_[i].at(now), 0.0, 1.0);
        const double angle = (120.0 * i + sparkleAngle_.at(now)) * M_PI / 180.0;
        painter.save();
        painter.setOpacity(0.9 * shown);
        scaleAbout(painter, centre, 0.1 + 0.9 * shown);
        paintSparkle(painter, centre + QPointF(sparkleDistance * std::cos(angle), sparkleDistance * std::sin(angle)), 8);
        painter.restore();
    }
}

void FeedbackCardView::paintTexts(QPainter& painter, const QRectF& column, const TextLayout& layout, double now) {
    const bool wraps = style_.hint.has_value();
    // A line's shadow hangs one pixel below it; glyphs may reach a little beyond their advance.
    const QSizeF titleArea(column.width() + 4, layout.titleRect.height() + 2);
    if (titleImage_.isNull() || titleArea_ != titleArea) {
        titleArea_ = titleArea;
        titleImage_ = layerImage(titleArea, [&](QPainter& p) { paintTitleLayer(p, layout); });
    }
    const QSizeF secondArea(column.width() + 24, layout.secondRect.height() + 2);
    if (secondImage_.isNull() || secondArea_ != secondArea) {
        secondArea_ = secondArea;
        secondImage_ = layerImage(secondArea, [&](QPainter& p) { paintSecondLayer(p, layout); });
    }

    // The texts slide in away from the icon: mirrored right to left.
    const double slide = layoutDirection() == Qt::RightToLeft ? -1.0 : 1.0;
    painter.save();
    painter.setOpacity(std::clamp(titleOpacity_.at(now), 0.0, 1.0));
    painter.drawImage(QPointF(column.left() + slide * titleSlide_.at(now), column.top()), titleImage_);
    painter.setOpacity(0.8 * std::clamp(hintOpacity_.at(now), 0.0, 1.0));
    painter.drawImage(
        QPointF(column.left() + (wraps ? 0.0 : slide * hintSlide_.at(now)), column.top() + layout.secondRect.top()),
        secondImage_);
    painter.restore();
}

void FeedbackCardView::paintTitleLayer(QPainter& painter, const TextLayout& layout) {
    const MenuColors colors = MenuColors::from(palette());
    const bool wraps = style_.hint.has_value();
    const QFont font = titleFont(wraps);
    const QFontMetricsF metrics(font);
    const QStringList& titleLines = layout.titleLines;
    QLinearGradient primary(0, 0, 0, layout.titleRect.height());
    primary.setColorAt(0, colors.primaryLabel);
    primary.setColorAt(1, withOpacity(colors.primaryLabel, 0.8));
    for (int i = 0; i < titleLines.size(); ++i) {
        const double baseline = i * metrics.height() + metrics.ascent();
        QPainterPath text;
        text.addText(0, baseline, font, titleLines[i]);
        painter.fillPath(text.translated(0, 1), withOpacity(Qt::black, 0.1));
        painter.fillPath(text, primary);
    }
}

void FeedbackCardView::paintSecondLayer(QPainter& painter, const TextLayout& layout) {
    if (!style_.hint) {
        paintHintRow(painter, QPointF(10, 0), layout.secondRect.height());
        return;
    }
    const MenuColors colors = MenuColors::from(palette());
    painter.setFont(hintFont());
    painter.setPen(colors.secondaryLabel);
    const QFontMetricsF hintMetrics(hintFont());
    const QStringList& lines = layout.hintLines;
    for (int i = 0; i < lines.size(); ++i) painter.drawText(QPointF(0, i * hintMetrics.height() + hintMetrics.ascent()), lines[i]);
}

void FeedbackCardView::paintHintRow(QPainter& painter, QPointF origin, double rowHeight) {
    const MenuColors colors = MenuColors::from(palette());
    const double middle = origin.y() + rowHeight / 2;
    const QPixmap keyboard = symbolPixmap("keyboard", 11, colors.secondaryLabel, devicePixelRatioF());
    if (!keyboard.isNull()) painter.drawPixmap(QPointF(origin.x(), middle - 5.5), keyboard);
    if (!style_.badge) return;
    const QFont font = badgeFont();
    const QFontMetricsF metrics(font);
    const QRectF badge(origin.x() + 10 + hintSpacing, middle - (metrics.height() + 4) / 2,
                       metrics.horizontalAdvance(*style_.badge) + 12, metrics.height() + 4);
    QPainterPath shape;
    shape.addRoundedRect(badge, 4, 4);
    painter.fillPath(shape, withOpacity(colors.secondaryLabel, 0.1));
    painter.setPen(QPen(withOpacity(colors.secondaryLabel, 0.3), 0.5));
    painter.drawPath(shape);
    painter.setFont(font);
    painter.setPen(colors.secondaryLabel);
    painter.drawText(badge, Qt::AlignCenter, *style_.badge);
}

} // namespace zentaris
