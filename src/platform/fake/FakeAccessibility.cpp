#include "platform/fake/FakeAccessibility.h"

#include <algorithm>
#include <sstream>
#include <stdexcept>
#include <utility>

namespace platform::fake {

namespace {

// The value is placed into the finished record: GCC (with sanitizers) wrongly warns of an
// uninitialised read when a variant is moved out of a braced temporary.
AXCall callWithValue(AXCall::Kind kind, const AXUIElement& element, const std::string& name, const AXValue& value,
                     AXError result) {
    AXCall call{kind, element, name, std::nullopt, result};
    call.value.emplace(value);
    return call;
}

std::string describeElement(const AXUIElement& element) {
    switch (element.kind) {
    case AXUIElement::Kind::none: return "none";
    case AXUIElement::Kind::systemWide: return "system";
    case AXUIElement::Kind::application: return "app" + std::to_string(element.pid);
    case AXUIElement::Kind::window: return "window" + std::to_string(element.id);
    case AXUIElement::Kind::part: return "part" + std::to_string(element.id);
    }
    return "?";
}

bool holdsTypeFor(const std::string& attribute, const AXValue& value) {
    if (attribute == "AXPosition") return std::holds_alternative<Point>(value);
    if (attribute == "AXSize") return std::holds_alternative<Size>(value);
    if (attribute == "AXHidden" || attribute == "AXMinimized" || attribute == "AXMain") {
        return std::holds_alternative<bool>(value);
    }
    return true;
}

bool isWriteOn(const AXCall& call, const AXUIElement& element) {
    return (call.kind == AXCall::Kind::set || call.kind == AXCall::Kind::action) && call.element == element;
}

} // namespace

std::string describeValue(const AXValue& value) {
    std::ostringstream out;
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                out << (v ? "true" : "false");
            } else if constexpr (std::is_same_v<T, std::string>) {
                out << '"' << v << '"';
            } else if constexpr (std::is_same_v<T, double>) {
                out << v;
            } else if constexpr (std::is_same_v<T, Point>) {
                out << '(' << v.x << ", " << v.y << ')';
            } else if constexpr (std::is_same_v<T, Size>) {
                out << v.width << 'x' << v.height;
            } else if constexpr (std::is_same_v<T, AXUIElement>) {
                out << describeElement(v);
            } else {
                out << '[';
                for (std::size_t i = 0; i < v.size(); ++i) out << (i ? ", " : "") << describeElement(v[i]);
                out << ']';
            }
        },
        value);
    return out.str();
}

std::string AXCall::describe() const {
    std::string text;
    switch (kind) {
    case Kind::copy: text = "copy " + name; break;
    case Kind::set: text = "set " + name; break;
    case Kind::elementAtPosition: text = "hitTest"; break;
    case Kind::action: text = "perform " + name; break;
    case Kind::getPid: text = "getPid"; break;
    case Kind::trust: text = "trust"; break;
    case Kind::sleep: text = "sleep"; break;
    }
    if (value) text += " " + describeValue(*value);
    return text;
}

FakeAccessibility::Record* FakeAccessibility::find(const AXUIElement& element) {
    return const_cast<Record*>(std::as_const(*this).find(element));
}

const FakeAccessibility::Record* FakeAccessibility::find(const AXUIElement& element) const {
    if (element.kind == AXUIElement::Kind::application) {
        auto it = applications_.find(element.pid);
        return it == applications_.end() ? nullptr : &it->second;
    }
    if (element.kind == AXUIElement::Kind::window || element.kind == AXUIElement::Kind::part) {
        auto it = elements_.find(element.id);
        return it == elements_.end() || !(it->second.handle == element) ? nullptr : &it->second;
    }
    return nullptr;
}

FakeAccessibility::Record& FakeAccessibility::require(const AXUIElement& element) {
    if (auto* record = find(element)) return *record;
    throw std::invalid_argument("FakeAccessibility: unknown element " + describeElement(element));
}

bool FakeAccessibility::exists(const AXUIElement& element) const {
    auto* record = find(element);
    return record && !record->gone;
}

void FakeAccessibility::log(AXCall call) {
    if (recording_) calls_.push_back(std::move(call));
}

void FakeAccessibility::recordSleep(double seconds) { log(callWithValue(AXCall::Kind::sleep, {}, "", seconds, AXError::success)); }

std::optional<AXError> FakeAccessibility::admit(const AXUIElement& element) {
    if (!trusted_) return AXError::apiDisabled;
    if (element.kind == AXUIElement::Kind::systemWide) return std::nullopt;
    auto* record = find(element);
    if (!record || record->gone) return AXError::invalidUIElement;
    if (record->callsLeft > 0 && --record->callsLeft == 0) {
        record->gone = true;
        record->callsLeft = -1;
    }
    return std::nullopt;
}

std::vector<AXUIElement> FakeAccessibility::liveOnly(const std::vector<AXUIElement>& elements) const {
    std::vector<AXUIElement> live;
    for (const auto& element : elements) {
        if (exists(element)) live.push_back(element);
    }
    return live;
}

std::optional<AXValue> FakeAccessibility::computedValue(const Record& record, const std::string& attribute) const {
    if (record.handle.kind == AXUIElement::Kind::application) {
        if (attribute == "AXWindows") return AXValue{liveOnly(record.windows)};
        if (attribute == "AXFocusedWindow") {
            if (record.focusedWindow && exists(*record.focusedWindow)) return AXValue{*record.focusedWindow};
            return std::nullopt;
        }
    } else if (attribute == "AXChildren") {
        return AXValue{liveOnly(record.children)};
    }
    auto it = record.attributes.find(attribute);
    if (it == record.attributes.end()) return std::nullopt;
    return it->second;
}

AXCopyResult FakeAccessibility::copyAttributeValue(const AXUIElement& element, const std::string& attribute) {
    AXCopyResult result;
    if (auto refused = admit(element)) {
        result.error = *refused;
    } else if (element.kind == AXUIElement::Kind::systemWide) {
        result.error = AXError::attributeUnsupported;
    } else if (auto& record = require(element); record.readFailures.count(attribute)) {
        result.error = record.readFailures.at(attribute);
    } else if (auto value = computedValue(record, attribute)) {
        result = {AXError::success, std::move(value)};
    } else {
        result.error = AXError::noValue;
    }
    log({AXCall::Kind::copy, element, attribute, std::nullopt, result.error});
    return result;
}

AXError FakeAccessibility::setAttributeValue(const AXUIElement& element, const std::string& attribute,
                                             const AXValue& value) {
    AXError error = AXError::success;
    if (auto refused = admit(element)) {
        error = *refused;
    } else if (element.kind == AXUIElement::Kind::systemWide || element.kind == AXUIElement::Kind::application) {
        error = AXError::attributeUnsupported;
    } else if (auto& record = require(element); record.writeFailures.count(attribute)) {
        error = record.writeFailures.at(attribute);
    } else if (!holdsTypeFor(attribute, value)) {
        error = AXError::illegalArgument;
    } else if (attribute == "AXSize" && record.minimumSize) {
        const auto wanted = std::get<Size>(value);
        record.attributes[attribute] = Size{std::max(wanted.width, record.minimumSize->width),
                                            std::max(wanted.height, record.minimumSize->height)};
    } else {
        record.attributes[attribute] = value;
    }
    log({AXCall::Kind::set, element, attribute, value, error});
    return error;
}

std::optional<Rect> FakeAccessibility::axFrame(const Record& record) const {
    auto position = record.attributes.find("AXPosition");
    auto size = record.attributes.find("AXSize");
    if (position == record.attributes.end() || size == record.attributes.end()) return std::nullopt;
    auto* p = std::get_if<Point>(&position->second);
    auto* s = std::get_if<Size>(&size->second);
    if (!p || !s) return std::nullopt;
    return Rect{*p, *s};
}

AXUIElement FakeAccessibility::deepestPartAt(const AXUIElement& element, Point point) const {
    const auto* record = find(element);
    if (!record) return element;
    // Later parts lie on top of earlier ones.
    for (auto it = record->children.rbegin(); it != record->children.rend(); ++it) {
        const auto* child = find(*it);
        if (!child || child->gone) continue;
        if (auto frame = axFrame(*child); frame && frame->containsPoint(point)) return deepestPartAt(*it, point);
    }
    return element;
}

AXError FakeAccessibility::copyElementAtPosition(const AXUIElement& application, double x, double y,
                                                 AXUIElement& element) {
    AXError error = AXError::noValue;
    if (auto refused = admit(application)) {
        error = *refused;
    } else if (hitTestFailure_) {
        error = *hitTestFailure_;
    } else {
        for (const auto& window : stacking_) {
            if (application.kind == AXUIElement::Kind::application && window.pid != application.pid) continue;
            const auto* record = find(window);
            if (!record || record->gone) continue;
            auto flag = [&](const char* name) {
                auto it = record->attributes.find(name);
                return it != record->attributes.end() && it->second == AXValue{true};
            };
            if (flag("AXMinimized") || flag("AXHidden")) continue;
            if (auto frame = axFrame(*record); frame && frame->containsPoint({x, y})) {
                element = deepestPartAt(window, {x, y});
                error = AXError::success;
                break;
            }
        }
    }
    log(callWithValue(AXCall::Kind::elementAtPosition, application, "", Point{x, y}, error));
    return error;
}

AXError FakeAccessibility::performAction(const AXUIElement& element, const std::string& action) {
    AXError error = AXError::success;
    if (auto refused = admit(element)) {
        error = *refused;
    } else if (action == "AXRaise" && element.kind == AXUIElement::Kind::window) {
        raise(element);
    } else {
        error = AXError::actionUnsupported;
    }
    log({AXCall::Kind::action, element, action, std::nullopt, error});
    return error;
}

AXError FakeAccessibility::getPid(const AXUIElement& element, ProcessId& pid) const {
    // The log and the vanishing countdown change on every call, reads included.
    auto& self = const_cast<FakeAccessibility&>(*this);
    AXError error = AXError::success;
    if (auto refused = self.admit(element)) {
        error = *refused;
    } else if (element.kind == AXUIElement::Kind::systemWide) {
        error = AXError::illegalArgument;
    } else {
        pid = element.pid;
    }
    self.log({AXCall::Kind::getPid, element, "", std::nullopt, error});
    return error;
}

bool FakeAccessibility::isProcessTrusted(bool prompt) {
    if (prompt && !trusted_) ++trustPrompts_;
    log(callWithValue(AXCall::Kind::trust, {}, "", prompt, AXError::success));
    return trusted_;
}

AXUIElement FakeAccessibility::addApplication(ProcessId pid) {
    AXUIElement handle{AXUIElement::Kind::application, pid, 0};
    auto& record = applications_[pid];
    record.handle = handle;
    record.gone = false;
    record.attributes["AXRole"] = std::string("AXApplication");
    return handle;
}

AXUIElement FakeAccessibility::addWindow(ProcessId pid, Point position, Size size, const std::string& title) {
    if (!applications_.count(pid)) addApplication(pid);
    AXUIElement handle{AXUIElement::Kind::window, pid, nextId_++};
    Record record;
    record.handle = handle;
    record.attributes = {{"AXRole", std::string("AXWindow")},
                         {"AXSubrole", std::string("AXStandardWindow")},
                         {"AXMinimized", false},
                         {"AXHidden", false},
                         {"AXTitle", title},
                         {"AXPosition", position},
                         {"AXSize", size},
                         {"AXParent", AXUIElement{AXUIElement::Kind::application, pid, 0}}};
    elements_.emplace(handle.id, std::move(record));
    auto& application = applications_.at(pid);
    application.windows.push_back(handle);
    application.focusedWindow = handle;
    stacking_.insert(stacking_.begin(), handle);
    return handle;
}

AXUIElement FakeAccessibility::addPart(const AXUIElement& parent, const std::string& role, Point position, Size size,
                                       const std::string& subrole) {
    auto& parentRecord = require(parent);
    AXUIElement handle{AXUIElement::Kind::part, parent.pid, nextId_++};
    Record record;
    record.handle = handle;
    record.attributes = {{"AXRole", role}, {"AXPosition", position}, {"AXSize", size}, {"AXParent", parent}};
    if (!subrole.empty()) record.attributes["AXSubrole"] = subrole;
    parentRecord.children.push_back(handle);
    elements_.emplace(handle.id, std::move(record));
    return handle;
}

void FakeAccessibility::remove(const AXUIElement& element) { require(element).gone = true; }

void FakeAccessibility::vanishAfterCalls(const AXUIElement& element, int calls) {
    auto& record = require(element);
    if (calls <= 0) {
        record.gone = true;
    } else {
        record.callsLeft = calls;
    }
}

void FakeAccessibility::setAttribute(const AXUIElement& element, const std::string& attribute, AXValue value) {
    require(element).attributes[attribute] = std::move(value);
}

void FakeAccessibility::removeAttribute(const AXUIElement& element, const std::string& attribute) {
    require(element).attributes.erase(attribute);
}

std::optional<AXValue> FakeAccessibility::attribute(const AXUIElement& element, const std::string& attribute) const {
    const auto* record = find(element);
    if (!record) return std::nullopt;
    return computedValue(*record, attribute);
}

void FakeAccessibility::setFocusedWindow(ProcessId pid, std::optional<AXUIElement> window) {
    if (!applications_.count(pid)) addApplication(pid);
    applications_.at(pid).focusedWindow = window;
}

void FakeAccessibility::raise(const AXUIElement& window) {
    std::erase(stacking_, window);
    stacking_.insert(stacking_.begin(), window);
}

void FakeAccessibility::failReads(const AXUIElement& element, const std::string& attribute, AXError error) {
    require(element).readFailures[attribute] = error;
}

void FakeAccessibility::allowReads(const AXUIElement& element, const std::string& attribute) {
    require(element).readFailures.erase(attribute);
}

void FakeAccessibility::refuseWrites(const AXUIElement& element, const std::string& attribute, AXError error) {
    require(element).writeFailures[attribute] = error;
}

void FakeAccessibility::setMinimumSize(const AXUIElement& window, Size minimum) { require(window).minimumSize = minimum; }

std::vector<std::string> FakeAccessibility::callsOn(const AXUIElement& element) const {
    std::vector<std::string> lines;
    for (const auto& call : calls_) {
        if (call.element == element) lines.push_back(call.describe());
    }
    return lines;
}

std::vector<std::string> FakeAccessibility::writes(const AXUIElement& element) const {
    std::vector<std::string> lines;
    for (const auto& call : calls_) {
        if (isWriteOn(call, element)) lines.push_back(call.describe());
    }
    return lines;
}

std::vector<std::string> FakeAccessibility::writesAndPauses(const AXUIElement& element) const {
    std::vector<std::string> lines;
    for (const auto& call : calls_) {
        if (isWriteOn(call, element) || call.kind == AXCall::Kind::sleep) lines.push_back(call.describe());
    }
    return lines;
}

} // namespace platform::fake
