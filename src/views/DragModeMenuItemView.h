#pragma once

#include "views/MenuRowView.h"

namespace zentaris {

// The drag-mode row: a hand, a green or red dot with "Drag Mode: ON" or "OFF", and the shortcut
// caption at the right edge; filled with the selection colour while hovered.
class DragModeMenuItemView : public MenuRowView {
public:
    static constexpr int rowWidth = 320;
    static constexpr int rowHeight = 22;

    DragModeMenuItemView(bool isDragModeEnabled, std::optional<std::string> shortcut, QWidget* parent = nullptr);

    bool isDragModeEnabled() const { return enabled_; }
    const std::string& symbolName() const { return hand_.name(); }
    // "Drag Mode", ":" and "ON" or "OFF", in the interface language.
    QString statusText() const;
    QColor dotColor() const;
    std::optional<QRectF> captionRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool enabled_;
    QString title_;
    QString state_;
    QString caption_;
    TintedSymbol hand_;
};

} // namespace zentaris
