#pragma once

#include <optional>
#include <string>

namespace platform {

// The process environment, behind an interface so tests can describe a session.
class Environment {
public:
    virtual ~Environment() = default;
    virtual std::optional<std::string> variable(const std::string& name) const = 0;

    // The process-wide environment: the real one unless a test installed another.
    static const Environment& current();
    static void install(const Environment* environment);
};

class SystemEnvironment : public Environment {
public:
    std::optional<std::string> variable(const std::string& name) const override;
};

} // namespace platform
