#pragma once

#include "platform/Environment.h"

#include <map>

namespace platform::fake {

// An environment a test describes, variable by variable.
class FakeEnvironment : public Environment {
public:
    FakeEnvironment() = default;
    FakeEnvironment(std::initializer_list<std::pair<const std::string, std::string>> variables) : variables_(variables) {}

    std::optional<std::string> variable(const std::string& name) const override {
        auto it = variables_.find(name);
        if (it == variables_.end()) return std::nullopt;
        return it->second;
    }
    void set(const std::string& name, const std::string& value) { variables_[name] = value; }

private:
    std::map<std::string, std::string> variables_;
};

} // namespace platform::fake
