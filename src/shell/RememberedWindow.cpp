#include "shell/RememberedWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>
#include <utility>

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

// The whole window lies in the area one screen leaves to windows, so none of it is hidden and the
// title bar can be grabbed.
bool fitsAScreen(const QRect& window) {
    const auto screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(),
                       [&window](const QScreen* screen) { return screen->availableGeometry().contains(window); });
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
    // The decorations are not known before the window manager frames the window: the window alone
    // must fit now, and with them once it is shown.
    if (!frame || !fitsAScreen(*frame)) return false;
    unrestored_ = QRect(pos(), size());
    setGeometry(*frame);
    return true;
}

void RememberedWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (unrestored_ && windowHandle()) windowHandle()->installEventFilter(this);
}

bool RememberedWindow::eventFilter(QObject* watched, QEvent* event) {
    // By the first exposure the window manager has put its frame around the window.
    if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
        watched->removeEventFilter(this);
        if (const auto before = std::exchange(unrestored_, std::nullopt); before && !fitsAScreen(frameGeometry())) {
            resize(before->size());
            move(before->topLeft());
        }
    }
    return QWidget::eventFilter(watched, event);
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
