#pragma once

#include <QColor>
#include <QEasingCurve>
#include <QFont>
#include <QPointF>

class QWidget;

namespace zentaris {

struct TimedAnimation {
    double duration; // seconds
    QEasingCurve curve;
};

struct SpringAnimation {
    double response;        // seconds for one oscillation of the undamped spring
    double dampingFraction; // 1 is critically damped
    double blendDuration;
};

struct CardShadow {
    QColor color;
    double radius;
    QPointF offset;
};

// The look of the settings pages: fonts, colours, animations and the card.
namespace AppStyle {

const QFont& titleFont();
const QFont& headlineFont();
const QFont& subheadlineFont();
const QFont& sectionTitleFont();
const QFont& bodyFont();
const QFont& calloutFont();
const QFont& captionFont();
const QFont& badgeFont();

QColor successColor();
QColor warningColor();
QColor errorColor();
// The palette-based colours follow the light or dark appearance, so they are read each time.
QColor cardBackgroundColor();
QColor windowBackgroundColor();
QColor accentTintColor();

const TimedAnimation& quickAnimation();
const TimedAnimation& standardAnimation();
const SpringAnimation& springAnimation();
const CardShadow& cardShadow();

constexpr double cardCornerRadius = 8.0;

// Gives a widget the card look: the card background in a rounded rectangle, then the card shadow.
void applyCardStyle(QWidget* widget);

} // namespace AppStyle
} // namespace zentaris
