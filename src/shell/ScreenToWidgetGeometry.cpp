#include "shell/ScreenToWidgetGeometry.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

namespace zentaris {

namespace {

// One screen as Qt scales it: its device rectangle and its pixel ratio.
struct ScaledScreen {
    QRectF device;
    double ratio = 1;

    QPointF toLogical(QPointF devicePoint) const { return device.topLeft() + (devicePoint - device.topLeft()) / ratio; }
};

ScaledScreen scaled(const QScreen* screen) {
    if (!screen) return {};
    const QRect logical = screen->geometry();
    const double ratio = screen->devicePixelRatio() > 0 ? screen->devicePixelRatio() : 1.0;
    return {QRectF(logical.topLeft(), QSizeF(logical.size()) * ratio), ratio};
}

// The screen that holds the device point, else the nearest one: Qt places a window by the screen
// under its centre.
ScaledScreen screenAtDevicePoint(QPointF point) {
    ScaledScreen best = scaled(QGuiApplication::primaryScreen());
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const auto candidate = scaled(screen);
        const double dx = std::max({candidate.device.left() - point.x(), 0.0, point.x() - candidate.device.right()});
        const double dy = std::max({candidate.device.top() - point.y(), 0.0, point.y() - candidate.device.bottom()});
        const double distance = dx * dx + dy * dy;
        if (distance < bestDistance) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

PrimaryMonitorQuery& primaryMonitorQuery() {
    static PrimaryMonitorQuery query;
    return query;
}

QRectF primaryOnDevice() {
    if (const auto& query = primaryMonitorQuery()) {
        if (const auto primary = query()) return QRectF(primary->minX(), primary->minY(), primary->width(), primary->height());
    }
    return scaled(QGuiApplication::primaryScreen()).device;
}

// `frame` in device pixels with a top-left origin, as the X server counts them.
QRectF deviceRectFromScreen(const platform::Rect& frame) {
    const QRectF primary = primaryOnDevice();
    return QRectF(primary.left() + frame.minX(), primary.bottom() - frame.maxY(), frame.width(), frame.height());
}

QRect roundedEdges(const QRectF& rect) {
    const auto left = static_cast<int>(std::lround(rect.left())), top = static_cast<int>(std::lround(rect.top()));
    return QRect(left, top, static_cast<int>(std::lround(rect.right())) - left,
                 static_cast<int>(std::lround(rect.bottom())) - top);
}

} // namespace

void installPrimaryMonitorQuery(PrimaryMonitorQuery query) { primaryMonitorQuery() = std::move(query); }

QRect qtRectFromScreen(const platform::Rect& frame) {
    const QRectF device = deviceRectFromScreen(frame);
    const auto screen = screenAtDevicePoint(device.center());
    return roundedEdges(QRectF(screen.toLogical(device.topLeft()), device.size() / screen.ratio));
}

QRect qtRectCentredOnScreenFrame(const platform::Rect& frame) {
    const QRectF device = deviceRectFromScreen(frame);
    const QPointF centre = screenAtDevicePoint(device.center()).toLogical(device.center());
    const QSizeF size(frame.width(), frame.height());
    return roundedEdges(QRectF(centre - QPointF(size.width() / 2, size.height() / 2), size));
}

} // namespace zentaris
