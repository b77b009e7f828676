#pragma once

// The desktop as the layout code sees it: elements (the system, an application, a window, a part
// of a window) with named attributes ("AXPosition", "AXSize", "AXWindows", ...) read and written
// by name. The window-arranging rules are written against this small vocabulary so that they read
// the same whatever the desktop is, and so that an in-memory fake can stand in for it in tests.
// On X11 (platform/x11/X11Accessibility): an application is the set of managed client windows of
// one process (by _NET_WM_PID, else as the X server knows a local client's process), or of one X
// client when no process is known (a negative identity); a window is a managed client window,
// position and size are its frame in root coordinates, "AXMinimized" is _NET_WM_STATE_HIDDEN,
// "AXMain"/"AXFocused" follow _NET_ACTIVE_WINDOW, the one child ("AXChildren") of a window the
// manager decorates is its title bar, and writes become EWMH requests to the window manager.

#include "platform/Geometry.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace platform {

using ProcessId = std::int32_t;

// Result codes of accessibility calls.
enum class AXError : std::int32_t {
    success = 0,
    failure = -25200,
    illegalArgument = -25201,
    invalidUIElement = -25202,
    cannotComplete = -25204,
    attributeUnsupported = -25205,
    actionUnsupported = -25206,
    notImplemented = -25208,
    apiDisabled = -25211,
    noValue = -25212,
};

// A reference to an element of the desktop: the whole system, an application, a window, or a
// part of a window (a button, a title). A value: cheap to copy, compared by identity.
struct AXUIElement {
    enum class Kind : std::uint8_t { none, systemWide, application, window, part };
    Kind kind = Kind::none;
    ProcessId pid = 0;    // the owning application (applications, windows and parts); see above
    std::uint64_t id = 0; // the backend's identity of a window or part

    explicit operator bool() const { return kind != Kind::none; }
    bool operator==(const AXUIElement&) const = default;
};

// An attribute value: a Bool, a text, a number, a point, a size, an element or a list of elements.
using AXValue = std::variant<bool, std::string, double, Point, Size, AXUIElement, std::vector<AXUIElement>>;

struct AXCopyResult {
    AXError error = AXError::noValue;
    std::optional<AXValue> value;

    bool ok() const { return error == AXError::success && value.has_value(); }
    // The value when the copy succeeded and holds a T; nothing otherwise.
    template <typename T>
    std::optional<T> as() const {
        if (!ok()) return std::nullopt;
        if (auto* v = std::get_if<T>(&*value)) return *v;
        return std::nullopt;
    }
};

// Reading and changing other applications' windows. Attribute names are those of the desktop's
// accessibility vocabulary: "AXFocusedWindow", "AXWindows", "AXMinimized", "AXRole", "AXSubrole",
// "AXParent", "AXChildren", "AXPosition" (a Point, top-left origin), "AXSize" (a Size), "AXHidden",
// "AXTitle".
class Accessibility {
public:
    virtual ~Accessibility() = default;

    virtual AXUIElement createSystemWide() const { return {AXUIElement::Kind::systemWide, 0, 0}; }
    virtual AXUIElement createApplication(ProcessId pid) const { return {AXUIElement::Kind::application, pid, 0}; }

    virtual AXCopyResult copyAttributeValue(const AXUIElement& element, const std::string& attribute) = 0;
    virtual AXError setAttributeValue(const AXUIElement& element, const std::string& attribute, const AXValue& value) = 0;
    // The deepest element at a point (top-left-origin coordinates) of the system-wide element.
    virtual AXError copyElementAtPosition(const AXUIElement& application, double x, double y, AXUIElement& element) = 0;
    // Actions such as "AXRaise".
    virtual AXError performAction(const AXUIElement& element, const std::string& action) = 0;
    virtual AXError getPid(const AXUIElement& element, ProcessId& pid) const = 0;
    // Whether this process may control other applications' windows; `prompt` asks the user when not.
    virtual bool isProcessTrusted(bool prompt) = 0;
};

} // namespace platform
