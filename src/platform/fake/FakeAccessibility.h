#pragma once

#include "platform/Accessibility.h"

#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::fake {

// One call a program made on the fake accessibility layer, or a pause it slept in between.
struct AXCall {
    enum class Kind { copy, set, elementAtPosition, action, getPid, trust, sleep };
    Kind kind = Kind::copy;
    AXUIElement element;
    std::string name;              // attribute or action
    std::optional<AXValue> value;  // the written value, or the pause in seconds
    AXError result = AXError::success;

    // A short line such as "set AXPosition (1, 437.5)", "copy AXHidden" or "sleep 0.02".
    std::string describe() const;
};

std::string describeValue(const AXValue& value);

// Elements of a desktop held in memory: applications, their windows and the parts of windows
// (buttons, toolbars). Windows keep their frame in accessibility coordinates (top-left origin).
// Every call is logged; reads and writes can be told to fail, and an element can vanish.
class FakeAccessibility : public Accessibility {
public:
    AXCopyResult copyAttributeValue(const AXUIElement& element, const std::string& attribute) override;
    AXError setAttributeValue(const AXUIElement& element, const std::string& attribute, const AXValue& value) override;
    AXError copyElementAtPosition(const AXUIElement& application, double x, double y, AXUIElement& element) override;
    AXError performAction(const AXUIElement& element, const std::string& action) override;
    AXError getPid(const AXUIElement& element, ProcessId& pid) const override;
    bool isProcessTrusted(bool prompt) override;

    // Building the element tree.
    AXUIElement addApplication(ProcessId pid);
    // A standard window ("AXWindow", "AXStandardWindow", not minimised, not hidden), made the
    // application's focused window and put in front of all others.
    AXUIElement addWindow(ProcessId pid, Point position, Size size, const std::string& title = "");
    // A part inside a window or inside another part, e.g. ("AXButton", "AXCloseButton").
    AXUIElement addPart(const AXUIElement& parent, const std::string& role, Point position, Size size,
                        const std::string& subrole = "");
    // The window or part is gone: every later call on it answers invalidUIElement.
    void remove(const AXUIElement& element);
    // The element answers its next `calls` calls normally and then is gone.
    void vanishAfterCalls(const AXUIElement& element, int calls);
    bool exists(const AXUIElement& element) const;

    // Attributes as the desktop holds them (no logging, no failures).
    void setAttribute(const AXUIElement& element, const std::string& attribute, AXValue value);
    void removeAttribute(const AXUIElement& element, const std::string& attribute);
    std::optional<AXValue> attribute(const AXUIElement& element, const std::string& attribute) const;
    void setFocusedWindow(ProcessId pid, std::optional<AXUIElement> window);
    // Puts a window in front of all others (what "AXRaise" does).
    void raise(const AXUIElement& window);

    // Failure injection.
    void failReads(const AXUIElement& element, const std::string& attribute, AXError error = AXError::cannotComplete);
    // Reads of the attribute succeed again.
    void allowReads(const AXUIElement& element, const std::string& attribute);
    void refuseWrites(const AXUIElement& element, const std::string& attribute, AXError error = AXError::cannotComplete);
    // The window keeps at least this size whatever smaller size is written.
    void setMinimumSize(const AXUIElement& window, Size minimum);
    void failHitTest(std::optional<AXError> error) { hitTestFailure_ = error; }
    void setTrusted(bool trusted) { trusted_ = trusted; }
    int trustPrompts() const { return trustPrompts_; }

    // The call log.
    const std::vector<AXCall>& calls() const { return calls_; }
    void clearCalls() { calls_.clear(); }
    void setRecording(bool recording) { recording_ = recording; }
    // Calls on one element, described, in order.
    std::vector<std::string> callsOn(const AXUIElement& element) const;
    // Writes and actions on one element, described, in order.
    std::vector<std::string> writes(const AXUIElement& element) const;
    // Writes and actions on one element and every pause, described, in order.
    std::vector<std::string> writesAndPauses(const AXUIElement& element) const;
    void recordSleep(double seconds);

private:
    struct Record {
        AXUIElement handle;
        std::map<std::string, AXValue> attributes;
        std::map<std::string, AXError> readFailures;
        std::map<std::string, AXError> writeFailures;
        std::optional<Size> minimumSize;
        std::vector<AXUIElement> windows;  // applications: their windows in order
        std::vector<AXUIElement> children; // windows and parts: their parts in order
        std::optional<AXUIElement> focusedWindow;
        int callsLeft = -1; // -1: never vanishes by itself
        bool gone = false;
    };

    Record* find(const AXUIElement& element);
    const Record* find(const AXUIElement& element) const;
    Record& require(const AXUIElement& element);
    // Answers the error a call on `element` meets before it reaches the attribute, counting the call.
    std::optional<AXError> admit(const AXUIElement& element);
    std::optional<AXValue> computedValue(const Record& record, const std::string& attribute) const;
    std::vector<AXUIElement> liveOnly(const std::vector<AXUIElement>& elements) const;
    std::optional<Rect> axFrame(const Record& record) const;
    AXUIElement deepestPartAt(const AXUIElement& element, Point point) const;
    void log(AXCall call);

    std::map<ProcessId, Record> applications_;
    std::unordered_map<std::uint64_t, Record> elements_;
    std::vector<AXUIElement> stacking_; // front first
    std::uint64_t nextId_ = 1;
    std::vector<AXCall> calls_;
    bool recording_ = true;
    bool trusted_ = true;
    int trustPrompts_ = 0;
    std::optional<AXError> hitTestFailure_;
};

} // namespace platform::fake
