#include "platform/ProgramArgument.h"
#include "platform/system/DefaultHandler.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using platform::HandlerLaunch;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::readFile;
using zentaris::testing::writeFile;

namespace {

constexpr const char* mailAddress = "mailto:help@example.org?subject=Hi%20there&body=a%26b%0A";

// A desktop of its own: data and configuration folders holding only what a test writes there.
struct HandlerDesktop {
    TemporaryDirectory root;

    // Makes `exec` the default mail program, as a desktop's settings would; `entry` adds lines.
    void installMailHandler(const std::string& exec, const std::string& entry = "") {
        writeFile(root / "data/applications/test-mail.desktop",
                  "[Desktop Entry]\nType=Application\nName=Test Mail\nExec=" + exec
                      + " %u\nMimeType=x-scheme-handler/mailto;\n" + entry);
        writeFile(root / "config/mimeapps.list", "[Default Applications]\nx-scheme-handler/mailto=test-mail.desktop\n");
    }
    std::filesystem::path writeScript(const std::string& name, const std::string& text) {
        const auto path = root / name;
        writeFile(path, text);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        return path;
    }

    // GLib reads the folders once per process, so each look-up runs in a child of its own;
    // `prepare` changes that child before it looks up.
    HandlerLaunch launch(const std::string& url, const std::function<void()>& prepare = {}) {
        const pid_t child = ::fork();
        if (child == 0) {
            if (prepare) prepare();
            ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
            ::setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
            ::setenv("XDG_DATA_DIRS", (root / "none").c_str(), 1);
            ::setenv("XDG_CONFIG_DIRS", (root / "none").c_str(), 1);
            ::setenv("DBUS_SESSION_BUS_ADDRESS", (root / "no-bus").c_str(), 1);
            ::unsetenv("DISPLAY");
            ::_exit(static_cast<int>(platform::launchDefaultHandler(url)));
        }
        int status = 0;
        if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
            ADD_FAILURE() << "the look-up did not finish";
            return HandlerLaunch::failedToStart;
        }
        return static_cast<HandlerLaunch>(WEXITSTATUS(status));
    }
};

bool waitFor(const std::filesystem::path& file) {
    for (int i = 0; i < 500 && !std::filesystem::exists(file); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return std::filesystem::exists(file);
}

TEST(DefaultHandler, OnlyAMailProgramThatRunsCountsAsStarted) {
    // The library that finds mail programs costs memory only once a mail link is opened.
    EXPECT_EQ(dlopen("libgio-2.0.so.0", RTLD_LAZY | RTLD_NOLOAD), nullptr) << "loaded before any look-up";
    HandlerDesktop desktop;
    EXPECT_EQ(desktop.launch(mailAddress), HandlerLaunch::noHandler) << "a desktop without a mail program";

    desktop.installMailHandler((desktop.root / "missing-mail-program").string());
    EXPECT_NE(desktop.launch(mailAddress), HandlerLaunch::started) << "a handler naming a program that is not there";

    const auto received = desktop.root / "received";
    const auto mail = desktop.writeScript(
        "mail", "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$1\" > \"" + received.string() + ".part\" && mv \"" + received.string()
                    + ".part\" \"" + received.string() + "\"\n");
    // A program that is there, to be run in a folder that is not.
    desktop.installMailHandler(mail.string(), "Path=" + (desktop.root / "removed-folder").string() + "\n");
    EXPECT_EQ(desktop.launch(mailAddress), HandlerLaunch::failedToStart) << "a handler that cannot be started";
    EXPECT_FALSE(std::filesystem::exists(received));

    // A program that is there and cannot run: what should run it was removed.
    desktop.installMailHandler(desktop.writeScript("stranded-mail", "#!" + (desktop.root / "removed-shell").string() + "\n").string());
    EXPECT_EQ(desktop.launch(mailAddress), HandlerLaunch::failedToStart) << "a handler whose interpreter is gone";

    desktop.installMailHandler(mail.string());
    EXPECT_EQ(desktop.launch(mailAddress), HandlerLaunch::started);
    ASSERT_TRUE(waitFor(received));
    EXPECT_EQ(readFile(received), std::string("1\n") + mailAddress + "\n") << "the address arrives whole, as one argument";
}

TEST(DefaultHandler, AnAddressLongerThanACommandLineTakesIsReportedAsTooLong) {
    HandlerDesktop desktop;
    const auto received = desktop.root / "received";
    const auto mail = desktop.writeScript(
        "mail", "#!/bin/sh\nprintf '%s' \"$1\" > \"" + received.string() + ".part\" && mv \"" + received.string()
                    + ".part\" \"" + received.string() + "\"\n");
    desktop.installMailHandler(mail.string());
    const std::string start = "mailto:help@example.org?body=";
    const auto addressOf = [&](std::size_t length) { return start + std::string(length - start.size(), 'a'); };

    // The longest address that fits arrives whole; one byte more is never handed over.
    const std::string longest = addressOf(platform::longestProgramArgument() - 1);
    EXPECT_EQ(desktop.launch(addressOf(platform::longestProgramArgument())), HandlerLaunch::tooLong);
    EXPECT_EQ(desktop.launch(addressOf(platform::longestProgramArgument() * 4)), HandlerLaunch::tooLong);
    EXPECT_FALSE(std::filesystem::exists(received)) << "the mail program ran";
    EXPECT_EQ(desktop.launch(longest), HandlerLaunch::started);
    ASSERT_TRUE(waitFor(received));
    EXPECT_EQ(readFile(received), longest);

    // An address that fits on its own, in a command line that does not: the start itself says so.
    const auto crowdedCommandLine = [] {
        const rlimit stack{1024 * 1024, 1024 * 1024}; // a quarter of it is left for the command line
        ::setrlimit(RLIMIT_STACK, &stack);
        for (const char* name : {"FILLER_ONE", "FILLER_TWO", "FILLER_THREE"}) ::setenv(name, std::string(100000, 'x').c_str(), 1);
    };
    EXPECT_EQ(desktop.launch(addressOf(100000), crowdedCommandLine), HandlerLaunch::tooLong);
}

} // namespace
