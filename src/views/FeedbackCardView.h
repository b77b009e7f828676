#pragma once

#include "views/CardAnimation.h"

#include <QColor>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

namespace zentaris {

// The animated card of the feedback panels: a blurred coloured glow behind a rounded translucent
// card with an icon cluster (ring, halo, symbol, sparkles) on the left and one or two lines of
// text on the right. It plays its entrance when first shown and keeps its repeating motions until
// its panel goes. The still layers (glow, card, texts) are drawn once into images that frames only
// place; once the entrance has settled only the icon cluster is repainted, and nothing is while
// the card is hidden.
class FeedbackCardView : public QWidget {
public:
    struct Style {
        QColor accent;
        QColor second;
        QColor firstGlow;
        QColor secondGlow;
        QColor ringThird; // the third colour of the ring's gradient
        std::string symbol;
        QString title;
        // The hint row (keyboard symbol and an optional badge) of the two short cards.
        bool hasHintRow = false;
        std::optional<QString> badge;
        // The wrapped hint of the too-many card; it also makes the title wrap to two lines.
        std::optional<QString> hint;
        double glowWidth = 0; // 0: the width of the panel
        double glowHeight = 100;
        double glowEndRadius = 100;
    };

    explicit FeedbackCardView(Style style, QWidget* parent = nullptr);

    const Style& style() const { return style_; }
    // The card itself, without its glow, centred in the view.
    QRectF cardRect() const;
    // Some of the moving values at a time of the entrance clock.
    struct Frame {
        double visibility, iconScale, iconRotation, glowIntensity, titleSlide, sparkleVisibility[3];
    };
    Frame frameAt(double seconds) const;
    // The lines of the title and of the too-many hint as drawn at the view's width; the last
    // one shown ends in an ellipsis when the text needs more lines than the card gives it.
    QStringList titleLines() const { return layoutText().titleLines; }
    QStringList hintLines() const { return layoutText().hintLines; }
    // Holds the entrance clock at this many seconds after coming on screen (for pictures and tests).
    void freezeClock(double seconds);
    double clock() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    struct TextLayout {
        QSizeF size;
        QRectF titleRect;
        QRectF secondRect;
        QStringList titleLines;
        QStringList hintLines; // none without a hint
    };
    void startEntrance();
    // Repaints what moves at this point of the clock.
    void nextFrame();
    bool entranceSettled(double now) const;
    const TextLayout& layoutText() const;
    // A transparent image of `size` (logical pixels) at this view's pixel ratio, painted by `paint`.
    QImage layerImage(QSizeF size, const std::function<void(QPainter&)>& paint) const;
    void paintGlow(QPainter& painter, double now);
    void paintBackground(QPainter& painter, const QRectF& card, double now);
    void paintIconCluster(QPainter& painter, QPointF centre, double now);
    void paintTexts(QPainter& painter, const QRectF& column, const TextLayout& layout, double now);
    void paintTitleLayer(QPainter& painter, const TextLayout& layout);
    void paintSecondLayer(QPainter& painter, const TextLayout& layout);
    void paintHintRow(QPainter& painter, QPointF origin, double rowHeight);

    Style style_;
    QElapsedTimer shownAt_;
    std::optional<double> frozenClock_;
    QTimer frameTimer_;
    bool entranceStarted_ = false;
    QImage glowImage_;
    QImage shadowImage_;
    QImage symbolImage_;
    QImage symbolShadow_;
    // The card with both its shadows, and the two text layers, drawn once.
    QImage cardImage_, titleImage_, secondImage_;
    QSizeF cardArea_, titleArea_, secondArea_; // what each was drawn for
    mutable std::optional<std::pair<int, TextLayout>> textLayout_; // for the width it was made for
    QRectF clusterArea_;                                           // where the icon cluster moves

    // What the entrance script moves, one track per shown property.
    AnimationTrack visibility_{0};
    AnimationTrack glowScale_{0.8}, cardScale_{0.8}, glowIntensity_{0};
    AnimationTrack ringScale_{1}, haloScale_{1}, ringAngle_{0}, sparkleAngle_{0};
    AnimationTrack iconScale_{0.3}, iconRotation_{0};
    AnimationTrack sparkleVisibility_[3] = {AnimationTrack(0), AnimationTrack(0), AnimationTrack(0)};
    AnimationTrack titleSlide_{-30}, titleOpacity_{0}, hintSlide_{-30}, hintOpacity_{0};
};

} // namespace zentaris
