#include "platform/UserDefaults.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace platform {

namespace {
UserDefaults* standardDefaults = nullptr;
}

UserDefaults& UserDefaults::standard() {
    if (!standardDefaults) throw std::logic_error("UserDefaults::standard() used before a store was installed");
    return *standardDefaults;
}

void UserDefaults::installStandard(UserDefaults* defaults) { standardDefaults = defaults; }

std::optional<bool> UserDefaults::boolValue(const std::string& key) const {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (auto* b = std::get_if<bool>(&*value)) return *b;
    if (auto* i = std::get_if<std::int64_t>(&*value); i && (*i == 0 || *i == 1)) return *i == 1;
    return std::nullopt;
}

std::optional<double> UserDefaults::doubleValue(const std::string& key) const {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (auto* d = std::get_if<double>(&*value)) return *d;
    if (auto* i = std::get_if<std::int64_t>(&*value)) return static_cast<double>(*i);
    return std::nullopt;
}

std::optional<std::int64_t> UserDefaults::integerValue(const std::string& key) const {
    auto value = object(key);
    if (!value) return std::nullopt;
    if (auto* i = std::get_if<std::int64_t>(&*value)) return *i;
    if (auto* d = std::get_if<double>(&*value); d && std::isfinite(*d) && std::trunc(*d) == *d
                                                && std::fabs(*d) < 9.0e18) {
        return static_cast<std::int64_t>(*d);
    }
    return std::nullopt;
}

template <typename T>
static std::optional<T> alternative(const std::optional<DefaultsValue>& value) {
    if (!value) return std::nullopt;
    if (auto* v = std::get_if<T>(&*value)) return *v;
    return std::nullopt;
}

std::optional<std::string> UserDefaults::stringValue(const std::string& key) const {
    return alternative<std::string>(object(key));
}
std::optional<Data> UserDefaults::dataValue(const std::string& key) const { return alternative<Data>(object(key)); }
std::optional<Date> UserDefaults::dateValue(const std::string& key) const { return alternative<Date>(object(key)); }
std::optional<StringList> UserDefaults::stringListValue(const std::string& key) const {
    return alternative<StringList>(object(key));
}

void UserDefaults::update(const std::string& key, Change change, ChangedByOthers /*changedByOthers*/) {
    if (auto value = change(object(key))) set(key, std::move(*value));
    else removeObject(key);
}

ObservationToken UserDefaults::observe(const std::string& key, std::function<void()> onChange) {
    return observers_.add(key, std::move(onChange));
}

void UserDefaults::notifyChanged(const std::string& key) { observers_.notify(key); }

std::optional<DefaultsValue> MemoryUserDefaults::object(const std::string& key) const {
    auto it = values_.find(key);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

void MemoryUserDefaults::set(const std::string& key, DefaultsValue value) {
    values_[key] = std::move(value);
    ++writeCount_;
    persist(key);
    notifyChanged(key);
}

void MemoryUserDefaults::removeObject(const std::string& key) {
    if (values_.erase(key) == 0) return;
    ++writeCount_;
    persist(key);
    notifyChanged(key);
}

void MemoryUserDefaults::storeQuietly(const std::string& key, std::optional<DefaultsValue> value) {
    if (value) values_.insert_or_assign(key, std::move(*value));
    else values_.erase(key);
}

std::vector<std::string> MemoryUserDefaults::allKeys() const {
    std::vector<std::string> keys;
    for (const auto& [key, value] : values_) keys.push_back(key);
    return keys;
}

} // namespace platform
