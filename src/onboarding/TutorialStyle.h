#pragma once

#include "preferences/SystemColors.h"

#include "views/MenuColors.h"

#include <QColor>
#include <QFont>
#include <QLabel>
#include <QWidget>

#include <string>

class QBoxLayout;
class QVBoxLayout;

namespace zentaris::tutorial {

// Fonts of the tutorial pages, sized in pixels so that the pages keep their proportions on any
// screen density.
QFont textFont(double size, QFont::Weight weight = QFont::Normal, bool monospaced = false);
// The body text style (13) of the pages.
QFont bodyFont(QFont::Weight weight = QFont::Normal, bool monospaced = false);

// A surface filled with one colour inside a rounded rectangle (a circle when the radius is half
// the side); its layout's margins give the padding.
class RoundedPanel : public QWidget {
public:
    RoundedPanel(const QColor& fill, double cornerRadius, QWidget* parent = nullptr);
    const QColor& fill() const { return fill_; }
    void setFill(const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor fill_;
    double cornerRadius_;
};

// One of our symbol icons drawn `size` pixels high in a colour; empty when the symbol is unknown.
class SymbolLabel : public QLabel {
public:
    SymbolLabel(std::string name, int size, const QColor& color, QWidget* parent = nullptr);
    const std::string& symbolName() const { return name_; }
    const QColor& color() const { return color_; }

private:
    std::string name_;
    QColor color_;
};

// A label that breaks onto further lines only when its text does not fit on one: it asks for
// the width of its text in one line, up to its maximum width.
class WrappingLabel : public QLabel {
public:
    explicit WrappingLabel(QWidget* parent = nullptr);
    QSize sizeHint() const override;
};

// A label in a font and colour; `wrap` makes it a WrappingLabel.
QLabel* makeLabel(const QFont& font, const QColor& color, bool wrap = false, QWidget* parent = nullptr);
void setTextColor(QWidget* widget, const QColor& color);

// Adds `widget` to a box layout centred across it. In a vertical layout it keeps its preferred
// width, or with `fillUpToMaximum` grows up to its maximum width.
void addCentered(QBoxLayout* layout, QWidget* widget, bool fillUpToMaximum = false);
// A section of a page inside its side padding. Pages whose film or picture row is wider than
// the padding leaves put their other parts in such sections and let that row alone reach into
// the padding, so that the row keeps its size without a horizontal scroll bar.
QVBoxLayout* addPaddedSection(QBoxLayout* page, int sidePadding);
// A black shadow under a picture.
void addShadow(QWidget* widget, double opacity, double radius, double offsetY);

} // namespace zentaris::tutorial
