#pragma once

#include <QVariantAnimation>
#include <QWidget>

class QHBoxLayout;

namespace zentaris {

// The common frame of the Shortcuts page's rows: a padded line of elements whose background takes
// the accent tint while the pointer is over it.
class ShortcutRowFrame : public QWidget {
public:
    explicit ShortcutRowFrame(QWidget* parent = nullptr);

    bool isHovered() const { return isHovered_; }
    QHBoxLayout* rowLayout() const { return layout_; }

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void setHovered(bool hovered);

    bool isHovered_ = false;
    QHBoxLayout* layout_ = nullptr;
    QVariantAnimation tint_;
};

} // namespace zentaris
