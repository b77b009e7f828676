#include "platform/Environment.h"

#include <cstdlib>

namespace platform {

namespace {
const SystemEnvironment systemEnvironment;
const Environment* currentEnvironment = &systemEnvironment;
}

std::optional<std::string> SystemEnvironment::variable(const std::string& name) const {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

const Environment& Environment::current() { return *currentEnvironment; }

void Environment::install(const Environment* environment) {
    currentEnvironment = environment ? environment : &systemEnvironment;
}

} // namespace platform
