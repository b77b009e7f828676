#include "shell/RememberedWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <array>
#include <charconv>
#include <optional>

namespace zentaris {

namespace {

// X11 keeps window positions and sizes in 16 bits: a saved frame outside them was never one of
// ours, and inside them no sum or centre of its numbers can overflow.
constexpr long long largestCoordinate = 32767;
constexpr long long smallestCoordinate = -32768;
constexpr long long smallestSide = 100;

// "x y width height", four whole numbers with single spaces; nothing when the text is anything else
// or the numbers cannot be a window's.
std::optional<QRect> parseFrame(const std::string& text) {
    std::array<long long, 4> numbers{};
    const char* next = text.data();
    const char* const end = text.data() + text.size();
    for (std::size_t index = 0; index < numbers.size(); ++index) {
        if (index > 0 && (next == end || *next++ != ' ')) return std::nullopt;
        const auto [after, error] = std::from_chars(next, end, numbers[index]);
        if (error != std::errc{}) return std::nullopt;
        next = after;
    }
    if (next != end) return std::nullopt;
    const auto [x, y, width, height] = numbers;
    const auto isCoordinate = [](long long value) { return value >= smallestCoordinate && value <= largestCoordinate; };
    const auto isSide = [](long long value) { return value >= smallestSide && value <= largestCoordinate; };
    if (!isCoordinate(x) || !isCoordinate(y) || !isSide(width) || !isSide(height)) return std::nullopt;
    return QRect(static_cast<int>(x), static_cast<int>(y), static_cast<int>(width), static_cast<int>(height));
}

// The window can be seen and grabbed: its centre and the middle of its top edge, where the title
// bar sits, are on a screen.
bool liesOnAScreen(const QRect& frame) {
    return QGuiApplication::screenAt(frame.center()) && QGuiApplication::screenAt(QPoint(frame.center().x(), frame.top()));
}

} // namespace

RememberedWindow::RememberedWindow(platform::UserDefaults& defaults, std::string key)
    : defaults_(defaults), key_(std::move(key)) {
    settled_.setSingleShot(true);
    settled_.setInterval(settleMilliseconds);
    QObject::connect(&settled_, &QTimer::timeout, this, [this] { saveFrame(); });
    // A window left open at quit gets no close event.
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (isVisible()) saveFrame();
    });
}

bool RememberedWindow::restoreFrame() {
    const auto saved = defaults_.stringValue(key_);
    const auto frame = saved ? parseFrame(*saved) : std::nullopt;
    if (!frame || !liesOnAScreen(*frame)) return false;
    setGeometry(*frame);
    return true;
}

void RememberedWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (isVisible()) settled_.start();
}

void RememberedWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isVisible()) settled_.start();
}

void RememberedWindow::closeEvent(QCloseEvent* event) {
    saveFrame();
    event->accept(); // hidden, not destroyed: the next request shows the same window
}

void RememberedWindow::saveFrame() {
    settled_.stop();
    const QRect frame = geometry();
    const std::string text = std::to_string(frame.x()) + " " + std::to_string(frame.y()) + " " +
                             std::to_string(frame.width()) + " " + std::to_string(frame.height());
    // A window manager moves a window it shows; an unchanged frame is not written again.
    if (defaults_.stringValue(key_) != text) defaults_.set(key_, text);
}

} // namespace zentaris
