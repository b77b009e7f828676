#pragma once

#include "views/MenuColors.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>

namespace zentaris {

// A symbol drawn at a fixed size, redrawn when the colour it is asked for changes.
class TintedSymbol {
public:
    TintedSymbol(std::string name, int side) : name_(std::move(name)), side_(side) {}

    const std::string& name() const { return name_; }
    void setName(std::string name);
    const QPixmap& pixmap(const QColor& color, qreal devicePixelRatio);

private:
    std::string name_;
    int side_;
    QPixmap pixmap_;
    QColor color_;
    qreal devicePixelRatio_ = 0;
};

// What the drawn menu rows share: a fixed size, a hover flag set by whoever hosts the row (the
// menu's highlighted entry), and a click of the primary button anywhere in the row.
class MenuRowView : public QWidget {
public:
    MenuRowView(int width, int height, QWidget* parent = nullptr);

    bool isHovered() const { return hovered_; }
    void setHovered(bool hovered);
    void setOnClick(std::function<void()> onClick) { onClick_ = std::move(onClick); }

    // The system font at a size in points (taken as device-independent pixels) and a weight.
    static QFont systemFont(int pointSize, QFont::Weight weight = QFont::Normal);

protected:
    MenuColors colors() const { return MenuColors::from(palette()); }
    // A part laid out from the leading edge as it is drawn: mirrored across the row in a
    // right-to-left interface.
    QRectF visual(const QRectF& logical) const;
    // Painting helpers shared by the rows; they take rectangles laid out from the leading edge.
    void prepare(QPainter& painter) const;
    void fillBackground(QPainter& painter, double cornerRadius, const QColor& color) const;
    void drawSymbol(QPainter& painter, TintedSymbol& symbol, const QRectF& box, const QColor& color) const;
    void drawText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
                  Qt::Alignment horizontal) const;
    // A shortcut caption: its keys read from left to right in every language.
    void drawCaption(QPainter& painter, const QRectF& rect, const QString& caption, const QFont& font,
                     const QColor& color) const;
    virtual void hoverChanged() {}

    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool hovered_ = false;
    bool pressed_ = false;
    std::function<void()> onClick_;
};

// The text of a shortcut caption as Qt text, or empty.
QString captionText(const std::optional<std::string>& caption);

} // namespace zentaris
