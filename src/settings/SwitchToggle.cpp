#include "settings/SwitchToggle.h"

#include "preferences/AppStyle.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

namespace zentaris {

SwitchToggle::SwitchToggle(QWidget* parent) : QAbstractButton(parent) {
    setCheckable(true);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setFixedSize(sizeHint());
    knob_.setDuration(static_cast<int>(AppStyle::quickAnimation().duration * 1000));
    knob_.setEasingCurve(AppStyle::quickAnimation().curve);
    knob_.setStartValue(0.0);
    knob_.setEndValue(1.0);
    connect(&knob_, &QVariantAnimation::valueChanged, this, [this] { update(); });
    connect(this, &QAbstractButton::toggled, this, [this](bool on) {
        // Set from code while hidden, the knob jumps; moved by the user, it slides.
        if (!isVisible()) return;
        knob_.setDirection(on ? QAbstractAnimation::Forward : QAbstractAnimation::Backward);
        if (knob_.state() != QAbstractAnimation::Running) knob_.start();
    });
}

void SwitchToggle::paintEvent(QPaintEvent*) {
    const bool animating = knob_.state() == QAbstractAnimation::Running;
    const double position = animating ? knob_.currentValue().toDouble() : (isChecked() ? 1.0 : 0.0);

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const double radius = track.height() / 2;
    const QColor off = QApplication::palette().color(QPalette::Mid);
    const QColor on = QApplication::palette().color(QPalette::Highlight);
    QColor fill;
    fill.setRgbF(static_cast<float>(off.redF() + (on.redF() - off.redF()) * position),
                 static_cast<float>(off.greenF() + (on.greenF() - off.greenF()) * position),
                 static_cast<float>(off.blueF() + (on.blueF() - off.blueF()) * position));
    if (!isEnabled()) fill.setAlphaF(0.4f);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(track, radius, radius);

    const double inset = 2;
    const double diameter = track.height() - 2 * inset;
    const double x = track.left() + inset + (track.width() - diameter - 2 * inset) * position;
    painter.setBrush(QColor(0, 0, 0, 40));
    painter.drawEllipse(QRectF(x, track.top() + inset + 0.5, diameter, diameter));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(x, track.top() + inset, diameter, diameter));
    if (hasFocus()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QApplication::palette().color(QPalette::Highlight), 1.5));
        painter.drawRoundedRect(track.adjusted(-0.25, -0.25, 0.25, 0.25), radius, radius);
    }
}

} // namespace zentaris
