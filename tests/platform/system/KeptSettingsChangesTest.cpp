// Changes the settings store could not save and keeps for later: their order, what outranks
// them, how long a stuck lock holds them up, and what is named when they are lost at quit.

#include "platform/fake/FakeMainQueue.h"
#include "platform/system/FailingStandardError.h"
#include "platform/system/JsonFileUserDefaults.h"
#include "platform/system/SettingsStoreTestSupport.h"
#include "support/FileSizeLimit.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <iostream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

using namespace platform;
using namespace zentaris::testing;

namespace {
// Runs `work` with standard error going to `descriptor`.
template <typename Work>
void withStandardErrorTo(int descriptor, Work work) {
    std::cerr.flush();
    const int standardError = ::dup(2);
    ::dup2(descriptor, 2);
    work();
    std::cerr.flush();
    ::dup2(standardError, 2);
    ::close(standardError);
}

// The line the store writes at quit about lost changes, or nothing. Standard error goes through a
// pipe, which a full disk does not stop.
std::string lostLine(JsonFileUserDefaults& defaults) {
    int pipe[2];
    if (::pipe(pipe) != 0) return "no pipe";
    withStandardErrorTo(pipe[1], [&] { defaults.saveBeforeQuitting(); });
    ::close(pipe[1]);
    std::string said(1 << 16, '\0');
    said.resize(std::max<ssize_t>(::read(pipe[0], said.data(), said.size()), 0));
    ::close(pipe[0]);
    std::istringstream lines(said);
    for (std::string line; std::getline(lines, line);) {
        if (line.find("are lost:") != std::string::npos) return line;
    }
    return {};
}
} // namespace

TEST(KeptSettingsChanges, ChangesOfOneKeyAreSavedOnceEachInTheirOrder) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    {
        FileSizeLimit full(16);
        defaults.update("list", appending("first"));
        defaults.update("list", appending("second"));
        defaults.update("gap", [](const std::optional<DefaultsValue>&) { return DefaultsValue{std::int64_t{2}}; });
        defaults.set("gap", std::int64_t{8});
    }
    defaults.set("other", true);
    EXPECT_EQ(JsonFileUserDefaults(file).stringListValue("list"), (StringList{"first", "second"}));
    EXPECT_EQ(JsonFileUserDefaults(file).integerValue("gap"), 8) << "a value set after an update is the one saved";

    // Onto a file that cannot be read, the values held here already carry the change.
    writeFile(file, "not JSON");
    defaults.update("list", appending("third"));
    EXPECT_EQ(JsonFileUserDefaults(file).stringListValue("list"), (StringList{"first", "second", "third"}));
}

TEST(KeptSettingsChanges, AnotherWritersLaterChangeOfTheSameKeyStandsAndIsTakenHere) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults a(file);
    a.set("dragModeModifier", std::string("command"));
    {
        const StuckLockHolder holder(dir.path());
        a.set("dragModeModifier", std::string("shift"));
    }
    JsonFileUserDefaults(file).set("dragModeModifier", std::string("option"));
    int told = 0;
    const auto token = a.observe("dragModeModifier", [&told] { ++told; });
    a.set("windowFrame.Settings", std::string("0 0 640 480"));
    EXPECT_EQ(JsonFileUserDefaults(file).stringValue("dragModeModifier"), "option");
    EXPECT_EQ(a.stringValue("dragModeModifier"), "option");
    EXPECT_EQ(told, 1);
    EXPECT_TRUE(a.unsavedKeys().empty());
}

// Read without the lock, a file half written in place or gone a moment tells nothing of others.
TEST(KeptSettingsChanges, AChangeRefusedWhileTheFileIsUnusableIsSavedOnceTheFileIsBack) {
    for (const bool removed : {false, true}) {
        TemporaryDirectory dir;
        const auto file = dir / "defaults.json";
        JsonFileUserDefaults(file).set("dragModeModifier", std::string("command"));
        JsonFileUserDefaults defaults(file);
        const auto intact = readFile(file);
        {
            const StuckLockHolder holder(dir.path());
            if (removed) std::filesystem::remove(file);
            else std::filesystem::resize_file(file, 0);
            defaults.set("dragModeModifier", std::string("shift"));
            writeFile(file, intact);
        }
        defaults.set("windowFrame.Settings", std::string("0 0 640 480"));
        EXPECT_EQ(JsonFileUserDefaults(file).stringValue("dragModeModifier"), "shift") << "removed: " << removed;
        EXPECT_EQ(defaults.stringValue("dragModeModifier"), "shift") << "removed: " << removed;
    }
}

TEST(KeptSettingsChanges, AStuckLockHolderCostsOneWaitPerTurnAndWhatWaitedIsSavedOnceItLetsGo) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    fake::FakeMainQueue turns;
    JsonFileUserDefaults defaults(file);
    defaults.waitForTheLockOncePerTurnOf(turns);
    int reported = 0;
    defaults.setWriteFailureHandler([&](const std::string&) { ++reported, defaults.writeFailureSeen(); });
    const auto secondsFor = [](auto work) {
        const auto started = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    auto holder = std::make_unique<StuckLockHolder>(dir.path());
    ASSERT_TRUE(holder->holds());
    const double startTurn = secondsFor([&] {
        for (int i = 0; i < 23; ++i) defaults.set("GlobalShortcuts_" + std::to_string(i), std::string("{}"));
    });
    EXPECT_LT(startTurn, 6) << "one wait of two seconds, not one per save";
    EXPECT_EQ(reported, 23);
    EXPECT_EQ(defaults.unsavedKeys().size(), 23u);

    turns.runPending();
    EXPECT_GT(secondsFor([&] { defaults.set("late", true); }), 1.5) << "the next turn waits again";
    holder.reset();
    defaults.set("windowFrame.Settings", std::string("0 0 640 480"));
    EXPECT_EQ(JsonFileUserDefaults(file).allKeys().size(), 25u);
    EXPECT_TRUE(defaults.unsavedKeys().empty());
}

TEST(KeptSettingsChanges, AtQuitOnlyChangesTheFileLacksAreNamedIncludingOneTooLarge) {
    // As the program does: standard error may be a file that the full disk below fails first.
    surviveFailingStandardError();
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults(file).set("language", std::string("de"));
    JsonFileUserDefaults defaults(file);
    {
        FileSizeLimit full(16);
        defaults.setDerived("GlobalShortcuts_leftColumn", std::string("{}"));
        defaults.set("language", std::string("de"));
        defaults.set("dragModeModifier", std::string("shift"));
        EXPECT_EQ(lostLine(defaults), R"(zentaris: these changed settings could not be saved and are lost: "dragModeModifier")");
    }

    JsonFileUserDefaults large(dir / "large.json");
    large.set("notes", std::string(JsonFileUserDefaults::maximumFileSize, 'x'));
    large.set("gap", std::int64_t{4});
    EXPECT_EQ(lostLine(large), R"(zentaris: these changed settings could not be saved and are lost: "notes")");
    EXPECT_EQ(JsonFileUserDefaults(dir / "large.json").integerValue("gap"), 4);
}

// A log on a full disk refuses a line; once there is room, the next one is there.
TEST(KeptSettingsChanges, AFailedLineOnStandardErrorSilencesNoLaterOne) {
    surviveFailingStandardError();
    TemporaryDirectory dir;
    JsonFileUserDefaults defaults(dir / "defaults.json");
    const int log = ::open((dir / "log").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    ASSERT_GE(log, 0);
    withStandardErrorTo(log, [&] {
        {
            FileSizeLimit full(16);
            defaults.set("dragModeModifier", std::string("shift"));
        }
        defaults.reportUnreadableValue("individualShortcutStates");
    });
    ::close(log);
    EXPECT_NE(readFile(dir / "log").find("\"individualShortcutStates\" cannot be read"), std::string::npos)
        << readFile(dir / "log");
}

TEST(KeptSettingsChanges, WhereNoTimerCanBoundTheWaitAChangeToALockedFolderIsRefusedAndKept) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    defaults.set("gap", std::int64_t{2});
    const auto before = readFile(file);
    int reported = 0;
    defaults.setWriteFailureHandler([&reported](const std::string&) { ++reported; });
    {
        // No signal may be queued, so no timer can be made.
        rlimit saved{};
        ::getrlimit(RLIMIT_SIGPENDING, &saved);
        const rlimit none{0, saved.rlim_max};
        ::setrlimit(RLIMIT_SIGPENDING, &none);
        const StuckLockHolder holder(dir.path());
        defaults.set("gap", std::int64_t{4});
        ::setrlimit(RLIMIT_SIGPENDING, &saved);
    }
    EXPECT_EQ(reported, 1);
    EXPECT_EQ(readFile(file), before) << "not written unguarded";
    defaults.synchronize();
    EXPECT_EQ(JsonFileUserDefaults(file).integerValue("gap"), 4);
}
