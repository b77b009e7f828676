#pragma once

#include "layout/LayoutType.h"
#include "views/MenuRowView.h"
#include "views/SimpleLayoutPreviewView.h"

#include <QElapsedTimer>
#include <QTimer>

namespace zentaris {

// The layout row: the layout's symbol, its title, the shortcut caption and the animated
// miniature. The row shows hovering only through its miniature.
class InlineLayoutViewContainer : public MenuRowView {
public:
    static constexpr int rowWidth = 320;
    static constexpr int rowHeight = 32;

    InlineLayoutViewContainer(std::string title, LayoutType layout, std::optional<std::string> shortcut,
                              QWidget* parent = nullptr);

    // Where the parts lie in the row, from its leading edge (mirrored when drawn right to left).
    struct Parts {
        QRectF symbol;
        QRectF title;
        std::optional<QRectF> caption;
        QRectF preview;
    };
    Parts parts() const;
    const QString& title() const { return title_; }
    QString shownTitle() const;
    const SimpleLayoutPreviewView& preview() const { return preview_; }

protected:
    void hoverChanged() override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    double now() const { return static_cast<double>(clock_.nsecsElapsed()) / 1e9; }
    void animate();

    QString title_;
    QString caption_;
    TintedSymbol symbol_;
    SimpleLayoutPreviewView preview_;
    QElapsedTimer clock_;
    QTimer frames_;
};

} // namespace zentaris
