#pragma once

#include "platform/Desktop.h"
#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeMainQueue.h"
#include "platform/fake/FakeScreens.h"
#include "platform/fake/FakeWorkspace.h"

#include <optional>
#include <string>

namespace platform::fake {

// A whole desktop in memory: screens, applications, windows, the pointer, virtual time and a
// defaults store. Scene helpers speak screen coordinates (bottom-left origin, like the screens);
// the accessibility layer underneath keeps windows in top-left-origin coordinates, flipped at the
// top edge of the first screen as it stands when the helper is called.
//
//   FakeDesktop desktop;
//   desktop.addScreen({0, 0, 1440, 900}, {0, 0, 1440, 875});
//   auto app = desktop.addApplication("Editor");
//   auto window = desktop.addWindow(app, {100, 100, 800, 500}, "notes.txt");
//   desktop.focus(window);
class FakeDesktop {
public:
    FakeDesktop();
    FakeDesktop(const FakeDesktop&) = delete;
    FakeDesktop& operator=(const FakeDesktop&) = delete;

    // What the services take.
    const Desktop& interfaces() const { return interfaces_; }
    operator const Desktop&() const { return interfaces_; }

    // Screens. Without a visible frame the whole frame is usable.
    Screen addScreen(Rect frame, std::optional<Rect> visibleFrame = std::nullopt,
                     std::optional<std::uint32_t> displayNumber = std::nullopt, const std::string& name = "",
                     bool builtIn = false);
    void setPointer(Point location) { screens_.setMouseLocation(location); }

    // Applications and windows.
    RunningApplication addApplication(const std::string& name = "", ActivationPolicy policy = ActivationPolicy::regular);
    AXUIElement addWindow(const RunningApplication& app, Rect frame, const std::string& title = "");
    // A window of a new regular application.
    AXUIElement addWindow(Rect frame, const std::string& title = "");
    // A part (button, toolbar, text) inside a window or part, framed in screen coordinates.
    AXUIElement addPart(const AXUIElement& parent, const std::string& role, Rect frame, const std::string& subrole = "");
    // Makes the window's application frontmost and the window its focused window.
    void focus(const AXUIElement& window);
    // No application is frontmost.
    void clearFocus() { workspace_.setFrontmost(std::nullopt); }
    void setFrame(const AXUIElement& window, Rect frame);
    // A window's frame in screen coordinates; none when its position or size is missing.
    std::optional<Rect> frameOf(const AXUIElement& window) const;
    bool isHidden(const AXUIElement& window) const;
    // The top edge of the first screen, 0 without screens.
    double primaryHeight() const;

    FakeAccessibility& accessibility() { return accessibility_; }
    const FakeAccessibility& accessibility() const { return accessibility_; }
    FakeScreens& screens() { return screens_; }
    FakeWorkspace& workspace() { return workspace_; }
    FakeMainQueue& mainQueue() { return queue_; }
    MemoryUserDefaults& defaults() { return defaults_; }

private:
    // Pauses go into the accessibility log too, so tests see them between the writes.
    class LoggingMainQueue : public FakeMainQueue {
    public:
        explicit LoggingMainQueue(FakeAccessibility& log) : log_(log) {}
        void sleep(double seconds) override;

    private:
        FakeAccessibility& log_;
    };

    Point toAccessibility(Rect frame) const { return {frame.minX(), primaryHeight() - frame.maxY()}; }

    FakeAccessibility accessibility_;
    FakeScreens screens_;
    FakeWorkspace workspace_;
    LoggingMainQueue queue_{accessibility_};
    MemoryUserDefaults defaults_;
    Desktop interfaces_{accessibility_, screens_, workspace_, queue_, defaults_};
};

} // namespace platform::fake
