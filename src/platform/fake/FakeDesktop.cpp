#include "platform/fake/FakeDesktop.h"

namespace platform::fake {

void FakeDesktop::LoggingMainQueue::sleep(double seconds) {
    FakeMainQueue::sleep(seconds);
    log_.recordSleep(seconds);
}

FakeDesktop::FakeDesktop() = default;

Screen FakeDesktop::addScreen(Rect frame, std::optional<Rect> visibleFrame, std::optional<std::uint32_t> displayNumber,
                              const std::string& name, bool builtIn) {
    return screens_.addScreen(Screen{frame, visibleFrame.value_or(frame), displayNumber, name}, builtIn);
}

RunningApplication FakeDesktop::addApplication(const std::string& name, ActivationPolicy policy) {
    auto app = workspace_.addApplication(name, policy);
    accessibility_.addApplication(app.processIdentifier);
    return app;
}

AXUIElement FakeDesktop::addWindow(const RunningApplication& app, Rect frame, const std::string& title) {
    return accessibility_.addWindow(app.processIdentifier, toAccessibility(frame), frame.size, title);
}

AXUIElement FakeDesktop::addWindow(Rect frame, const std::string& title) { return addWindow(addApplication(), frame, title); }

AXUIElement FakeDesktop::addPart(const AXUIElement& parent, const std::string& role, Rect frame,
                                 const std::string& subrole) {
    return accessibility_.addPart(parent, role, toAccessibility(frame), frame.size, subrole);
}

void FakeDesktop::focus(const AXUIElement& window) {
    workspace_.setFrontmost(window.pid);
    accessibility_.setFocusedWindow(window.pid, window);
}

void FakeDesktop::setFrame(const AXUIElement& window, Rect frame) {
    accessibility_.setAttribute(window, "AXPosition", toAccessibility(frame));
    accessibility_.setAttribute(window, "AXSize", frame.size);
}

std::optional<Rect> FakeDesktop::frameOf(const AXUIElement& window) const {
    auto position = accessibility_.attribute(window, "AXPosition");
    auto size = accessibility_.attribute(window, "AXSize");
    if (!position || !size) return std::nullopt;
    auto* p = std::get_if<Point>(&*position);
    auto* s = std::get_if<Size>(&*size);
    if (!p || !s) return std::nullopt;
    return Rect{p->x, primaryHeight() - p->y - s->height, s->width, s->height};
}

bool FakeDesktop::isHidden(const AXUIElement& window) const {
    return accessibility_.attribute(window, "AXHidden") == std::optional<AXValue>{true};
}

double FakeDesktop::primaryHeight() const {
    auto all = screens_.screens();
    return all.empty() ? 0.0 : all.front().frame.maxY();
}

} // namespace platform::fake
