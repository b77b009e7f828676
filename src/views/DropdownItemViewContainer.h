#pragma once

#include "views/MenuRowView.h"

namespace zentaris {

// The compact row of the layout submenus and of the screen submenu: an optional symbol, the
// title and the shortcut caption at the right edge; tinted with the accent colour while hovered.
class DropdownItemViewContainer : public MenuRowView {
public:
    DropdownItemViewContainer(std::string title, std::string iconName, std::optional<std::string> shortcut, int width,
                              int height, QWidget* parent = nullptr);

    struct Parts {
        std::optional<QRectF> icon;
        QRectF title;
        std::optional<QRectF> caption;
    };
    Parts parts() const;
    const QString& title() const { return title_; }
    QString shownTitle() const;
    const std::string& iconName() const { return icon_.name(); }
    const QString& caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QString caption_;
    TintedSymbol icon_;
};

} // namespace zentaris
