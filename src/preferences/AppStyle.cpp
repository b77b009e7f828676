#include "preferences/AppStyle.h"

#include "preferences/SystemColors.h"

#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QPalette>
#include <QWidget>

namespace zentaris::AppStyle {

namespace {

QFont systemFont(double points, QFont::Weight weight) {
    QFont font = QApplication::font();
    font.setPointSizeF(points);
    font.setWeight(weight);
    return font;
}

} // namespace

const QFont& titleFont() { static const QFont font = systemFont(22, QFont::DemiBold); return font; }
const QFont& headlineFont() { static const QFont font = systemFont(18, QFont::DemiBold); return font; }
const QFont& subheadlineFont() { static const QFont font = systemFont(16, QFont::DemiBold); return font; }
const QFont& sectionTitleFont() { static const QFont font = systemFont(14, QFont::DemiBold); return font; }
const QFont& bodyFont() { static const QFont font = systemFont(13, QFont::Normal); return font; }
const QFont& calloutFont() { static const QFont font = systemFont(12, QFont::Normal); return font; }
const QFont& captionFont() { static const QFont font = systemFont(11, QFont::Normal); return font; }
const QFont& badgeFont() { static const QFont font = systemFont(10, QFont::Medium); return font; }

QColor successColor() { return SystemColors::green(); }
QColor warningColor() { return SystemColors::orange(); }
QColor errorColor() { return SystemColors::red(); }

QColor cardBackgroundColor() { return QApplication::palette().color(QPalette::Base); }
QColor windowBackgroundColor() { return withOpacity(QApplication::palette().color(QPalette::Window), 0.8); }
QColor accentTintColor() { return withOpacity(QApplication::palette().color(QPalette::Highlight), 0.1); }

const TimedAnimation& quickAnimation() {
    static const TimedAnimation animation{0.2, QEasingCurve(QEasingCurve::InOutQuad)};
    return animation;
}
const TimedAnimation& standardAnimation() {
    static const TimedAnimation animation{0.3, QEasingCurve(QEasingCurve::InOutQuad)};
    return animation;
}
const SpringAnimation& springAnimation() {
    static const SpringAnimation animation{0.3, 0.7, 0.0};
    return animation;
}
const CardShadow& cardShadow() {
    static const CardShadow shadow{withOpacity(Qt::black, 0.1), 2.0, QPointF(0.0, 1.0)};
    return shadow;
}

void applyCardStyle(QWidget* widget) {
    if (!widget) return;
    // palette(base) is resolved when the style sheet is applied, and again when the palette changes.
    widget->setAttribute(Qt::WA_StyledBackground, true);
    // Scoped to the card itself: a sheet without a selector would restyle every control inside it.
    if (widget->objectName().isEmpty()) widget->setObjectName(QStringLiteral("card"));
    widget->setStyleSheet(QStringLiteral("#%1 { background-color: palette(base); border-radius: %2px; }")
                              .arg(widget->objectName())
                              .arg(cardCornerRadius));
    auto* shadow = new QGraphicsDropShadowEffect(widget);
    shadow->setColor(cardShadow().color);
    shadow->setBlurRadius(cardShadow().radius * 2); // Qt's blur radius spans the whole fall-off
    shadow->setOffset(cardShadow().offset);
    widget->setGraphicsEffect(shadow);
}

} // namespace zentaris::AppStyle
