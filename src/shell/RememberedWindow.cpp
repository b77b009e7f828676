#include "shell/RememberedWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>

#include <cstdio>

namespace zentaris {

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
    auto saved = defaults_.stringValue(key_);
    if (!saved) return false;
    int x, y, w, h;
    if (std::sscanf(saved->c_str(), "%d %d %d %d", &x, &y, &w, &h) != 4 || w < 100 || h < 100) return false;
    const QRect frame(x, y, w, h);
    if (!QGuiApplication::screenAt(frame.center())) return false;
    setGeometry(frame);
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
