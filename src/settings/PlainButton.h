#pragma once

#include <QAbstractButton>

#include <functional>

class QPainter;

namespace zentaris {

// A button without a bezel whose label is a layout of ordinary widgets; the whole rectangle takes
// clicks. The owner paints the background, which may depend on hover and on the owner's state.
class PlainButton : public QAbstractButton {
public:
    using BackgroundPainter = std::function<void(QPainter&, const QRectF& bounds, bool hovered)>;

    explicit PlainButton(QWidget* parent = nullptr);

    void setBackgroundPainter(BackgroundPainter painter);
    bool isHovered() const { return hovered_; }
    // Called with the new hover state when the pointer enters or leaves.
    void setHoverHandler(std::function<void(bool)> handler) { hoverHandler_ = std::move(handler); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }

private:
    void setHovered(bool hovered);

    BackgroundPainter backgroundPainter_;
    std::function<void(bool)> hoverHandler_;
    bool hovered_ = false;
};

} // namespace zentaris
