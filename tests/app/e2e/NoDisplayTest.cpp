// Without a reachable X server the program says why and exits with a failure status.

#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace zentaris::testing {
namespace {

struct Outcome {
    bool exitedNormally = false;
    int status = 0;
    std::string output;
};

Outcome runWithEnvironment(const std::string& environment) {
    TemporaryDirectory config;
    const std::string command = "exec env " + environment + " XDG_CONFIG_HOME='" + config.path().string() + "' '" +
                                ZENTARIS_BINARY + "' 2>&1 </dev/null";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return outcome;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) outcome.output += buffer;
    const int raw = ::pclose(pipe);
    outcome.exitedNormally = WIFEXITED(raw);
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return outcome;
}

TEST(NoDisplay, WithoutDisplaySetItAsksForAnX11Session) {
    const auto outcome = runWithEnvironment("-u DISPLAY -u WAYLAND_DISPLAY");
    EXPECT_TRUE(outcome.exitedNormally) << outcome.output;
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.output.find("needs an X11 session"), std::string::npos) << outcome.output;
}

TEST(NoDisplay, WithAnUnreachableServerItNamesTheDisplayAndExits) {
    const auto outcome = runWithEnvironment("-u WAYLAND_DISPLAY DISPLAY=:99999");
    EXPECT_TRUE(outcome.exitedNormally) << "ended by a signal: " << outcome.output;
    EXPECT_NE(outcome.status, 0);
    EXPECT_NE(outcome.output.find(":99999"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("needs an X11 session"), std::string::npos) << outcome.output;
}

} // namespace
} // namespace zentaris::testing
