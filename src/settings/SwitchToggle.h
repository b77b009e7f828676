#pragma once

#include <QAbstractButton>
#include <QVariantAnimation>

namespace zentaris {

// An on/off switch: a pill in the accent colour when on, grey when off, with a sliding knob.
class SwitchToggle : public QAbstractButton {
public:
    explicit SwitchToggle(QWidget* parent = nullptr);

    QSize sizeHint() const override { return {38, 22}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& position) const override { return rect().contains(position); }

private:
    QVariantAnimation knob_;
};

} // namespace zentaris
