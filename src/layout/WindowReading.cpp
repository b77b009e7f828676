#include "layout/WindowReading.h"

namespace zentaris {

std::optional<double> primaryHeight(const std::vector<Screen>& screens) {
    if (screens.empty()) return std::nullopt;
    return screens.front().frame.maxY();
}

std::optional<Rect> readWindowFrame(platform::Accessibility& accessibility, const AXUIElement& window) {
    auto position = accessibility.copyAttributeValue(window, "AXPosition");
    auto size = accessibility.copyAttributeValue(window, "AXSize");
    auto point = position.as<platform::Point>();
    auto extent = size.as<platform::Size>();
    if (!point || !extent) return std::nullopt;
    return Rect{*point, *extent};
}

Rect screenRectFromAccessibility(const Rect& axFrame, double p) {
    return {axFrame.minX(), p - axFrame.minY() - axFrame.height(), axFrame.width(), axFrame.height()};
}

platform::Point screenCentreOf(const Rect& axFrame, double p) {
    return {axFrame.minX() + axFrame.width() / 2, p - (axFrame.minY() + axFrame.height() / 2)};
}

std::optional<bool> readBool(platform::Accessibility& accessibility, const AXUIElement& element, const std::string& name) {
    return accessibility.copyAttributeValue(element, name).as<bool>();
}

std::optional<std::string> readString(platform::Accessibility& accessibility, const AXUIElement& element,
                                      const std::string& name) {
    return accessibility.copyAttributeValue(element, name).as<std::string>();
}

std::optional<AXUIElement> focusedWindowOf(const platform::Desktop& desktop) {
    auto frontmost = desktop.workspace.frontmostApplication();
    if (!frontmost) return std::nullopt;
    auto application = desktop.accessibility.createApplication(frontmost->processIdentifier);
    auto window = desktop.accessibility.copyAttributeValue(application, "AXFocusedWindow").as<AXUIElement>();
    if (!window || !*window) return std::nullopt;
    return window;
}

std::optional<Screen> firstScreenHolding(const std::vector<Screen>& screens, platform::Point point) {
    for (const auto& screen : screens) {
        if (screen.frame.containsMouse(point)) return screen;
    }
    return std::nullopt;
}

} // namespace zentaris
