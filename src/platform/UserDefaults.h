#pragma once

#include "platform/ObserverList.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace platform {

// Raw bytes, as stored under a key (for example a JSON document).
struct Data {
    std::vector<std::uint8_t> bytes;
    static Data fromString(const std::string& text) { return Data{{text.begin(), text.end()}}; }
    std::string toString() const { return {bytes.begin(), bytes.end()}; }
    bool operator==(const Data&) const = default;
};

// A point in time, in seconds since 1970-01-01 UTC.
struct Date {
    double secondsSince1970 = 0;
    bool operator==(const Date&) const = default;
};

using StringList = std::vector<std::string>;

// Every type a defaults value can have. "Absent" is an empty optional, distinct from every value.
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string, Data, Date, StringList>;

// A typed key-value store that survives restarts.
class UserDefaults {
public:
    virtual ~UserDefaults() = default;

    virtual std::optional<DefaultsValue> object(const std::string& key) const = 0;
    virtual void set(const std::string& key, DefaultsValue value) = 0;
    virtual void removeObject(const std::string& key) = 0;
    virtual std::vector<std::string> allKeys() const = 0;
    // Stores a value the program stores again by itself whenever it is missing (a default put in
    // place of nothing, a value derived from other settings): should it never reach the disk, no
    // change of the user's is lost.
    virtual void setDerived(const std::string& key, DefaultsValue value) { set(key, std::move(value)); }
    // Says that the value of `key` as stored cannot be read by the program, which goes on as if it
    // were absent; a store that persists keeps a copy of it before it is replaced.
    virtual void reportUnreadableValue(const std::string& /*key*/) {}

    // What a value becomes, given the value as stored (nothing when absent); nothing removes it.
    using Change = std::function<std::optional<DefaultsValue>(const std::optional<DefaultsValue>& stored)>;
    // Whether another writer changed, between `seen` and `stored`, what a change sets in the value.
    using ChangedByOthers =
        std::function<bool(const std::optional<DefaultsValue>& seen, const std::optional<DefaultsValue>& stored)>;
    // Stores what `change` makes of the value of `key` as stored at that moment. A store shared
    // with other writers reads that value as they left it and lets none of them write in between,
    // so a value that gathers entries from several writers keeps every writer's entries.
    // A store may keep a change it could not save and run it again later, long after this call:
    // `change` must own everything it uses. When it runs again, it is left out where
    // `changedByOthers` says another writer has since changed what it sets (none: never).
    virtual void update(const std::string& key, Change change, ChangedByOthers changedByOthers = {});

    // Flushes pending writes; implementations that write through may do nothing.
    virtual void synchronize() {}

    // Typed readers. Each answers nothing when the key is absent or holds a value that does not convert.
    // A Bool converts from a bool or from the integers 0 and 1.
    std::optional<bool> boolValue(const std::string& key) const;
    // A number converts from an integer or a double (never from a bool or a text).
    std::optional<double> doubleValue(const std::string& key) const;
    std::optional<std::int64_t> integerValue(const std::string& key) const;
    std::optional<std::string> stringValue(const std::string& key) const;
    std::optional<Data> dataValue(const std::string& key) const;
    std::optional<Date> dateValue(const std::string& key) const;
    std::optional<StringList> stringListValue(const std::string& key) const;

    // The stored Bool, false when absent or not a Bool.
    bool boolForKey(const std::string& key) const { return boolValue(key).value_or(false); }

    // Calls `onChange` after every write or removal of `key`, until the token is dropped.
    [[nodiscard]] ObservationToken observe(const std::string& key, std::function<void()> onChange);

    // The process-wide store ("standard user defaults"). Must be installed before first use.
    static UserDefaults& standard();
    static void installStandard(UserDefaults* defaults);

protected:
    // Implementations call this after every change of a key.
    void notifyChanged(const std::string& key);

private:
    ObserverList<std::string> observers_;
};

// A store in memory only; the fake for tests, and the fallback nobody persists.
class MemoryUserDefaults : public UserDefaults {
public:
    std::optional<DefaultsValue> object(const std::string& key) const override;
    void set(const std::string& key, DefaultsValue value) override;
    void removeObject(const std::string& key) override;
    std::vector<std::string> allKeys() const override;

    int writeCount() const { return writeCount_; }

protected:
    // Called after every change of `key` (its new value is in values(), or it is gone), before
    // observers hear of it; stores that persist write here.
    virtual void persist(const std::string& /*key*/) {}
    const std::map<std::string, DefaultsValue>& values() const { return values_; }
    // Sets or removes one value without persisting it or telling observers.
    void storeQuietly(const std::string& key, std::optional<DefaultsValue> value);
    void replaceValues(std::map<std::string, DefaultsValue> values) { values_ = std::move(values); }

private:
    std::map<std::string, DefaultsValue> values_;
    int writeCount_ = 0;
};

} // namespace platform
