#pragma once

#include <cmath>

namespace platform {

struct Point {
    double x = 0;
    double y = 0;
    bool operator==(const Point&) const = default;
};

struct Size {
    double width = 0;
    double height = 0;
    bool operator==(const Size&) const = default;
};

// A rectangle given by its origin (the corner with the smallest coordinates) and its size.
struct Rect {
    Point origin;
    Size size;

    Rect() = default;
    Rect(double x, double y, double width, double height) : origin{x, y}, size{width, height} {}
    Rect(Point o, Size s) : origin(o), size(s) {}

    double minX() const { return origin.x; }
    double minY() const { return origin.y; }
    double maxX() const { return origin.x + size.width; }
    double maxY() const { return origin.y + size.height; }
    double midX() const { return origin.x + size.width / 2; }
    double midY() const { return origin.y + size.height / 2; }
    double width() const { return size.width; }
    double height() const { return size.height; }
    Point center() const { return {midX(), midY()}; }
    bool isFinite() const {
        return std::isfinite(origin.x) && std::isfinite(origin.y) && std::isfinite(size.width) && std::isfinite(size.height);
    }

    // Containment with half-open edges on x and y, for rectangles in top-left-origin coordinates
    // (a point on the left or top edge is inside, on the right or bottom edge outside).
    bool containsPoint(Point p) const { return p.x >= minX() && p.x < maxX() && p.y >= minY() && p.y < maxY(); }
    // Containment for rectangles in bottom-left-origin (screen) coordinates: the left and top
    // edges are inside, the right and bottom edges outside, as a pointer over a screen is judged.
    bool containsMouse(Point p) const { return p.x >= minX() && p.x < maxX() && p.y > minY() && p.y <= maxY(); }

    bool operator==(const Rect&) const = default;
};

} // namespace platform
