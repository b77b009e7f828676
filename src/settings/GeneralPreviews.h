#pragma once

#include "preferences/SettingsTypes.h"

#include <QWidget>

#include <array>

namespace zentaris {

// The three columns of the three-column layout at the chosen widths, each with its percentage.
class ThreeColumnPreview : public QWidget {
public:
    explicit ThreeColumnPreview(ThreeColumnStyle style, QWidget* parent = nullptr);

    void setStyle(ThreeColumnStyle style);
    ThreeColumnStyle columnStyle() const { return style_; }
    static std::array<int, 3> percentages(ThreeColumnStyle style);
    // The columns' rectangles inside the current size.
    std::array<QRectF, 3> columnRects() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ThreeColumnStyle style_;
};

// Four tiles spaced by the window gap, as arranged windows would be.
class WindowGapPreview : public QWidget {
public:
    explicit WindowGapPreview(double gap, QWidget* parent = nullptr);

    void setGap(double gap);
    // The spacing drawn: the gap within the slider's range.
    double spacing() const { return spacing_; }
    std::array<QRectF, 4> tileRects() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double spacing_ = 0;
};

} // namespace zentaris
