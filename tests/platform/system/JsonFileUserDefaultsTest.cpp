#include "platform/system/JsonFileUserDefaults.h"
#include "platform/fake/FakeAlertPresenter.h"
#include "platform/system/SettingsStoreTestSupport.h"
#include "support/FileSizeLimit.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <ctime>
#include <csignal>
#include <fcntl.h>
#include <future>
#include <limits>
#include <map>
#include <poll.h>
#include <set>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

using namespace platform;
using zentaris::testing::FileSizeLimit;
using zentaris::testing::appending;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::readFile;
using zentaris::testing::writeFile;

namespace {
std::vector<std::filesystem::path> filesIn(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files.push_back(entry.path());
    return files;
}
} // namespace

TEST(JsonFileUserDefaults, EveryTypeSurvivesARestartWithItsType) {
    TemporaryDirectory dir;
    const auto file = dir / "zentaris" / "defaults.json";
    {
        JsonFileUserDefaults defaults(file);
        defaults.set("bool", false);
        defaults.set("int", std::int64_t{-7});
        defaults.set("double", 2.0);
        defaults.set("string", std::string("30-40-30"));
        defaults.set("data", Data{{0, 255, '{', '"'}});
        defaults.set("date", Date{1.8e9 + 0.25});
        defaults.set("list", StringList{"ja", "en"});
        defaults.set("infinite", HUGE_VAL);
    }
    JsonFileUserDefaults reloaded(file);
    EXPECT_EQ(reloaded.object("bool"), DefaultsValue{false});
    EXPECT_EQ(reloaded.object("int"), DefaultsValue{std::int64_t{-7}});
    EXPECT_EQ(reloaded.object("double"), DefaultsValue{2.0}) << "a whole double stays a double, not an integer";
    EXPECT_EQ(reloaded.object("string"), DefaultsValue{std::string("30-40-30")});
    EXPECT_EQ(reloaded.object("data"), (DefaultsValue{Data{{0, 255, '{', '"'}}}));
    EXPECT_EQ(reloaded.object("date"), DefaultsValue{Date{1.8e9 + 0.25}});
    EXPECT_EQ(reloaded.object("list"), (DefaultsValue{StringList{"ja", "en"}}));
    EXPECT_EQ(reloaded.doubleValue("infinite"), HUGE_VAL);
    EXPECT_EQ(reloaded.allKeys().size(), 8u);
}

TEST(JsonFileUserDefaults, RemovalIsPersisted) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    {
        JsonFileUserDefaults defaults(file);
        defaults.set("a", true);
        defaults.removeObject("a");
    }
    EXPECT_FALSE(JsonFileUserDefaults(file).object("a").has_value());
}

namespace {
std::string withValue(const std::string& type, const std::string& value) {
    return R"({"version":1,"values":{"a":{"type":")" + type + R"(","value":)" + value + "}}}";
}
// A valid file whose extra member holds `levels` nested arrays, so the whole is levels + 1 deep.
std::string nestedArrays(int levels) {
    return R"({"version":1,"values":{},"extra":)" + std::string(levels, '[') + std::string(levels, ']') + "}";
}
} // namespace

TEST(JsonFileUserDefaults, UnreadableFileIsMovedAsideWithNothingLost) {
    const std::string oversized = "{\"version\":1,\"values\":{}}" + std::string(JsonFileUserDefaults::maximumFileSize, ' ');
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"not JSON", "{not json"},
        {"no table of values", "[1,2]"},
        {"one byte over the size limit", oversized},
        {"nested one level too deep", nestedArrays(JsonFileUserDefaults::maximumNesting)},
    };
    for (const auto& [name, broken] : cases) {
        SCOPED_TRACE(name);
        TemporaryDirectory dir;
        const auto file = dir / "defaults.json";
        writeFile(file, broken);
        JsonFileUserDefaults defaults(file);
        EXPECT_TRUE(defaults.allKeys().empty());

        auto files = filesIn(dir.path());
        ASSERT_EQ(files.size(), 1u);
        EXPECT_NE(files[0].filename().string().find("defaults.json.unreadable-"), std::string::npos);
        EXPECT_TRUE(readFile(files[0]) == broken) << "the unreadable file is kept byte for byte";

        defaults.set("fresh", true);
        EXPECT_EQ(filesIn(dir.path()).size(), 2u) << "a new file is written beside the kept one";
        EXPECT_TRUE(readFile(files[0]) == broken);
        EXPECT_EQ(JsonFileUserDefaults(file).boolValue("fresh"), true);
    }
}

TEST(JsonFileUserDefaults, APipeInPlaceOfTheFileIsMovedAsideWithoutWaitingForAWriter) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
    auto loading = std::async(std::launch::async, [&file] { return JsonFileUserDefaults(file).allKeys().size(); });
    if (loading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ::close(::open(file.c_str(), O_WRONLY | O_NONBLOCK)); // lets the reader go
        FAIL() << "reading the settings waited on the pipe";
    }
    EXPECT_EQ(loading.get(), 0u);
    const auto files = filesIn(dir.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(std::filesystem::is_fifo(files[0]));
    EXPECT_NE(files[0].filename().string().find("defaults.json.unreadable-"), std::string::npos);
}

namespace {
std::string withEntries(const std::string& odd) {
    return R"({"version":1,"values":{"shortcut.leftHalf":{"type":"string","value":"ctrl+alt+left"},)"
           R"("onboardingDone":{"type":"bool","value":true},"odd":)" + odd + "}}";
}

} // namespace

TEST(JsonFileUserDefaults, AnUnreadableEntryIsLeftOutAloneAndTheFileIsKeptBeforeItIsReplaced) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a bool written as a number", R"({"type":"bool","value":1})"},
        {"a type of a newer version", R"({"type":"colour","value":"#ff0000"})"},
        {"a value with no type", R"({"value":true})"},
        {"an integer just above the signed 64-bit range", R"({"type":"integer","value":9223372036854775808})"},
        {"an integer above the unsigned 64-bit range", R"({"type":"integer","value":18446744073709551616})"},
        {"a number no double holds", R"({"type":"double","value":1e400})"},
        {"a date no double holds", R"({"type":"date","value":-)" + std::string(400, '9') + "}"},
    };
    for (const auto& [name, odd] : cases) {
        SCOPED_TRACE(name);
        TemporaryDirectory dir;
        const auto file = dir / "defaults.json";
        const std::string original = withEntries(odd);
        writeFile(file, original);
        JsonFileUserDefaults defaults(file);
        EXPECT_EQ(defaults.stringValue("shortcut.leftHalf"), "ctrl+alt+left");
        EXPECT_EQ(defaults.boolValue("onboardingDone"), true);
        EXPECT_FALSE(defaults.object("odd").has_value());
        EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "nothing moved aside";

        defaults.set("fresh", true);
        defaults.set("fresh", false);
        auto files = filesIn(dir.path());
        ASSERT_EQ(files.size(), 2u) << "one copy is kept, once";
        const auto aside = files[0] == file ? files[1] : files[0];
        EXPECT_NE(aside.filename().string().find("defaults.json.unreadable-"), std::string::npos);
        EXPECT_TRUE(readFile(aside) == original) << "the file as it was is kept byte for byte";
        JsonFileUserDefaults reloaded(file);
        EXPECT_EQ(reloaded.allKeys(), (std::vector<std::string>{"fresh", "onboardingDone", "shortcut.leftHalf"}));
    }
}

TEST(JsonFileUserDefaults, AFileWithALeftOutEntryIsNotReplacedWhileNoCopyOfItCanBeKept) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    // Larger than the limit below, unlike the file written without it.
    const std::string original = withEntries(R"({"type":"colour","value":")" + std::string(8000, 'f') + R"("})");
    writeFile(file, original);
    JsonFileUserDefaults defaults(file);
    std::vector<std::string> failures;
    defaults.setWriteFailureHandler([&failures](const std::string& reason) { failures.push_back(reason); });
    {
        FileSizeLimit nearlyFull(4096);
        defaults.set("fresh", true);
    }
    EXPECT_TRUE(readFile(file) == original) << "the only place its values are";
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "no half copy left";
    EXPECT_EQ(failures, std::vector<std::string>{std::strerror(EFBIG)});

    defaults.set("fresh", false);
    EXPECT_EQ(filesIn(dir.path()).size(), 2u);
    EXPECT_EQ(JsonFileUserDefaults(file).boolValue("fresh"), false);
}

TEST(JsonFileUserDefaults, AFailedWriteIsToldWithItsReasonOneAlertAtATimeAndAgainOnceTheAlertIsDismissed) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    fake::FakeAlertPresenter alerts;
    defaults.setWriteFailureHandler([&alerts, &defaults](const std::string& reason) {
        alerts.present({.informativeText = reason}, [&defaults](std::optional<std::size_t>) { defaults.writeFailureSeen(); });
    });
    const auto told = [&alerts] { return alerts.presented().size(); };
    defaults.set("saved", std::string("before"));
    const auto before = readFile(file);
    {
        FileSizeLimit full(16);
        defaults.set("saved", std::string("lost"));
        defaults.set("saved", std::string("lost again"));
        ASSERT_EQ(told(), 1u) << "one alert while it is open";
        EXPECT_EQ(alerts.presented()[0].informativeText, std::strerror(EFBIG));
        EXPECT_EQ(readFile(file), before);
        EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "no temporary left";

        alerts.respond(0);
        defaults.set("saved", std::string("lost once more"));
        EXPECT_EQ(told(), 2u) << "a failure after the alert was dismissed is told again";
    }
    defaults.set("saved", std::string("after"));
    EXPECT_EQ(JsonFileUserDefaults(file).stringValue("saved"), "after") << "the next change tries again";
    {
        FileSizeLimit full(16);
        defaults.set("saved", std::string("lost"));
    }
    EXPECT_EQ(told(), 2u) << "a save that worked meanwhile opens no second alert beside the open one";
    EXPECT_EQ(alerts.openCount(), 1u);
}

TEST(JsonFileUserDefaults, AChangeWritesItsOwnKeyOntoTheFileAsItIsOnDisk) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults a(file);
    JsonFileUserDefaults b(file); // the same user's session on another display
    a.set("menuBarIconColored", true);
    b.set("windowFrame.Settings", std::string("100 100 800 600"));
    {
        JsonFileUserDefaults reloaded(file);
        EXPECT_EQ(reloaded.boolValue("menuBarIconColored"), true) << "the other writer's change is kept";
        EXPECT_EQ(reloaded.stringValue("windowFrame.Settings"), "100 100 800 600");
    }

    // Edited by hand between two changes: a key added, one changed, one removed.
    writeFile(file, R"({"version":1,"values":{"windowFrame.Settings":{"type":"string","value":"0 0 640 480"},)"
                    R"("byHand":{"type":"integer","value":7}}})");
    a.set("windowGap", std::int64_t{8});
    {
        JsonFileUserDefaults reloaded(file);
        EXPECT_EQ(reloaded.integerValue("byHand"), 7);
        EXPECT_EQ(reloaded.stringValue("windowFrame.Settings"), "0 0 640 480");
        EXPECT_FALSE(reloaded.object("menuBarIconColored").has_value()) << "a key removed by hand is not brought back";
        EXPECT_EQ(reloaded.integerValue("windowGap"), 8);
    }

    b.removeObject("windowFrame.Settings");
    JsonFileUserDefaults reloaded(file);
    EXPECT_EQ(reloaded.allKeys(), (std::vector<std::string>{"byHand", "windowGap"})) << "a removal takes only its key";
}

TEST(JsonFileUserDefaults, WritersInTwoProcessesChangingKeysAtOnceLoseNone) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    constexpr int keysEach = 60;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    std::vector<pid_t> writers;
    for (int writer = 0; writer < 2; ++writer) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            JsonFileUserDefaults defaults(file);
            ::close(start[1]);
            char go;
            (void)::read(start[0], &go, 1); // both start when the test closes its end
            for (int i = 0; i < keysEach; ++i) {
                defaults.set("writer" + std::to_string(writer) + "." + std::to_string(i), std::int64_t{i});
            }
            ::_exit(0);
        }
        ASSERT_GT(pid, 0);
        writers.push_back(pid);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t pid : writers) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(JsonFileUserDefaults(file).allKeys().size(), 2u * keysEach);
}

TEST(JsonFileUserDefaults, AWriterThatKeepsTheFolderLockedHoldsUpAChangeBrieflyAndItIsSavedOnceItLetsGo) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    std::vector<std::string> failures;
    defaults.setWriteFailureHandler([&failures](const std::string& reason) { failures.push_back(reason); });
    defaults.set("kept", true);
    const auto before = readFile(file);
    // A stopped writer: its own open of the folder holds the lock for as long as the test runs.
    const int stuck = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(stuck, 0);
    ASSERT_EQ(::flock(stuck, LOCK_EX), 0);
    const auto started = std::chrono::steady_clock::now();
    auto change = std::async(std::launch::async, [&defaults] { defaults.update("list", appending("mine")); });
    const bool finished = change.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    const auto waited = std::chrono::steady_clock::now() - started;
    ::close(stuck);
    ASSERT_TRUE(finished);
    EXPECT_LT(waited, std::chrono::seconds(5));
    EXPECT_EQ(failures.size(), 1u) << "refused and told, not written unguarded";
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(defaults.stringListValue("list"), StringList{"mine"}) << "this session still sees its change";

    JsonFileUserDefaults(file).update("list", appending("theirs"));
    defaults.set("other", true);
    JsonFileUserDefaults reloaded(file);
    EXPECT_EQ(reloaded.stringListValue("list"), (StringList{"theirs", "mine"}));
    EXPECT_EQ(reloaded.boolValue("other"), true);
    EXPECT_TRUE(defaults.unsavedKeys().empty());
}

TEST(JsonFileUserDefaults, ChangesThatCouldNotBeSavedAreSavedWithTheNextOne) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    defaults.set("windowGap", std::int64_t{4});
    {
        FileSizeLimit full(16);
        defaults.set("dragModeModifier", std::string("shift"));
        defaults.removeObject("windowGap");
        defaults.update("list", appending("mine"));
    }
    EXPECT_EQ(defaults.unsavedKeys(), (StringList{"dragModeModifier", "list", "windowGap"}));
    JsonFileUserDefaults(file).update("list", appending("theirs")); // another session, meanwhile
    defaults.set("windowFrame.Settings", std::string("0 0 640 480"));
    JsonFileUserDefaults reloaded(file);
    EXPECT_EQ(reloaded.stringValue("dragModeModifier"), "shift");
    EXPECT_FALSE(reloaded.object("windowGap").has_value());
    EXPECT_EQ(reloaded.stringListValue("list"), (StringList{"theirs", "mine"}));
    EXPECT_EQ(reloaded.stringValue("windowFrame.Settings"), "0 0 640 480");

    // Synchronising tries again, as the next change would.
    {
        FileSizeLimit full(16);
        defaults.set("language", std::string("de"));
    }
    defaults.synchronize();
    EXPECT_EQ(JsonFileUserDefaults(file).stringValue("language"), "de");

    // At quit the last try is made, and what stays unsaved is named.
    {
        FileSizeLimit full(16);
        defaults.set("late", true);
    }
    defaults.saveBeforeQuitting();
    EXPECT_EQ(JsonFileUserDefaults(file).boolValue("late"), true);
    EXPECT_TRUE(defaults.unsavedKeys().empty());
}

namespace {
// Runs `body` in a child process, which exits with what it answers (at most 100); its pid.
template <typename Body> pid_t inChild(Body body) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(std::min(body(), 100));
    return pid;
}

int exitStatus(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
} // namespace

TEST(JsonFileUserDefaults, WritersAppendingAtOnceWhileAnotherTakesTheLockBackToBackLoseNoEntry) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    constexpr int writers = 4, appendsEach = 250;
    int stop[2];
    ASSERT_EQ(::pipe(stop), 0);
    // Another program that takes the folder's lock over and over, a millisecond at a time, and
    // counts the times the file was replaced while it held the lock.
    const pid_t holder = inChild([&] {
        ::close(stop[1]);
        const auto fileNumber = [&file] {
            struct stat status = {};
            return ::stat(file.c_str(), &status) == 0 ? status.st_ino : 0;
        };
        int unguarded = 0;
        for (pollfd stopped{stop[0], POLLIN, 0}; ::poll(&stopped, 1, 0) == 0;) {
            const int fd = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            ::flock(fd, LOCK_EX);
            const auto before = fileNumber();
            ::usleep(1000);
            unguarded += fileNumber() != before;
            ::close(fd);
            ::usleep(50);
        }
        return unguarded;
    });
    std::vector<pid_t> appenders;
    for (int writer = 0; writer < writers; ++writer) {
        appenders.push_back(inChild([&] {
            JsonFileUserDefaults defaults(file);
            int refused = 0;
            defaults.setWriteFailureHandler([&](const std::string&) { ++refused, defaults.writeFailureSeen(); });
            for (int i = 0; i < appendsEach; ++i) defaults.update("tags", appending(std::to_string(writer) + "." + std::to_string(i)));
            defaults.saveBeforeQuitting();
            return refused;
        }));
    }
    for (const pid_t pid : appenders) EXPECT_EQ(exitStatus(pid), 0) << "changes refused for want of the lock";
    ::close(stop[0]);
    ::close(stop[1]);
    EXPECT_EQ(exitStatus(holder), 0) << "files replaced under another's lock";
    const auto tags = JsonFileUserDefaults(file).stringListValue("tags").value_or(StringList{});
    EXPECT_EQ(std::set<std::string>(tags.begin(), tags.end()).size(), std::size_t{writers * appendsEach});
}

TEST(JsonFileUserDefaults, AFileBrokenBetweenChangesIsMovedAsideAndTheSettingsInUseAreWritten) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    defaults.set("kept", std::string("yes"));
    writeFile(file, "{broken by hand");
    defaults.set("fresh", true);

    const auto files = filesIn(dir.path());
    ASSERT_EQ(files.size(), 2u);
    const auto aside = files[0] == file ? files[1] : files[0];
    EXPECT_EQ(readFile(aside), "{broken by hand");
    JsonFileUserDefaults reloaded(file);
    EXPECT_EQ(reloaded.stringValue("kept"), "yes");
    EXPECT_EQ(reloaded.boolValue("fresh"), true);
}

TEST(JsonFileUserDefaults, TemporariesOfEndedProcessesAreRemovedWhenTheFileIsNextWritten) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ::waitpid(ended, nullptr, 0);
    const auto named = [&dir](const std::string& name) { return dir / name; };
    const auto abandoned = named("defaults.json.tmp-" + std::to_string(ended));
    const std::vector<std::filesystem::path> kept = {
        named("defaults.json.tmp-" + std::to_string(::getppid())), // its writer still runs
        named("defaults.json.tmp-" + std::to_string(ended) + "x"),
        named("defaults.json.tmp-"),
        named("other.json.tmp-" + std::to_string(ended)),
        named("defaults.json.unreadable-20260101-000000"),
    };
    writeFile(abandoned, "{half");
    for (const auto& path : kept) writeFile(path, "{half");

    JsonFileUserDefaults defaults(file);
    EXPECT_TRUE(std::filesystem::exists(abandoned)) << "reading removes nothing";
    defaults.set("a", true);
    EXPECT_FALSE(std::filesystem::exists(abandoned));
    for (const auto& path : kept) EXPECT_TRUE(std::filesystem::exists(path)) << path;
}

TEST(JsonFileUserDefaults, FilesAtTheLimitsAreRead) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    const std::string largest = withValue("integer", "9223372036854775807");
    writeFile(file, largest + std::string(JsonFileUserDefaults::maximumFileSize - largest.size(), ' '));
    EXPECT_EQ(JsonFileUserDefaults(file).integerValue("a"), std::numeric_limits<std::int64_t>::max());

    writeFile(file, withValue("integer", "-9223372036854775808"));
    EXPECT_EQ(JsonFileUserDefaults(file).integerValue("a"), std::numeric_limits<std::int64_t>::min());

    writeFile(file, nestedArrays(JsonFileUserDefaults::maximumNesting - 1));
    JsonFileUserDefaults deepest(file);
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "nothing moved aside";
}

TEST(JsonFileUserDefaults, LinkedFileIsWrittenThroughToItsTarget) {
    TemporaryDirectory dir;
    const auto dotfile = dir / "dotfiles" / "zentaris.json";
    const auto link = dir / "config" / "zentaris" / "defaults.json";
    writeFile(dotfile, withValue("string", R"("from dotfiles")"));
    std::filesystem::create_directories(link.parent_path());
    std::filesystem::create_symlink("../../dotfiles/zentaris.json", link);

    JsonFileUserDefaults defaults(link);
    EXPECT_EQ(defaults.stringValue("a"), "from dotfiles");
    defaults.set("b", true);

    EXPECT_TRUE(std::filesystem::is_symlink(link)) << "the link is kept";
    EXPECT_EQ(filesIn(link.parent_path()).size(), 1u);
    EXPECT_EQ(filesIn(dotfile.parent_path()).size(), 1u) << "no temporary file left beside the target";
    JsonFileUserDefaults reloaded(dotfile);
    EXPECT_EQ(reloaded.stringValue("a"), "from dotfiles");
    EXPECT_EQ(reloaded.boolValue("b"), true);
}

TEST(JsonFileUserDefaults, LinkToNothingYetCreatesItsTarget) {
    TemporaryDirectory dir;
    const auto dotfile = dir / "dotfiles" / "zentaris.json";
    const auto link = dir / "defaults.json";
    std::filesystem::create_directories(dotfile.parent_path());
    std::filesystem::create_symlink(dotfile, link);

    JsonFileUserDefaults(link).set("a", true);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(JsonFileUserDefaults(dotfile).boolValue("a"), true);
}

TEST(JsonFileUserDefaults, UnreadableLinkedFileIsMovedAsideBesideItsTarget) {
    TemporaryDirectory dir;
    const auto dotfile = dir / "dotfiles" / "zentaris.json";
    const auto link = dir / "defaults.json";
    writeFile(dotfile, "{broken");
    std::filesystem::create_symlink(dotfile, link);

    JsonFileUserDefaults defaults(link);
    defaults.set("a", true);

    EXPECT_TRUE(std::filesystem::is_symlink(link));
    const auto kept = filesIn(dotfile.parent_path());
    ASSERT_EQ(kept.size(), 2u);
    const auto aside = kept[0] == dotfile ? kept[1] : kept[0];
    EXPECT_EQ(readFile(aside), "{broken");
    EXPECT_EQ(JsonFileUserDefaults(dotfile).boolValue("a"), true);
}

TEST(JsonFileUserDefaults, FileKeepsItsPermissions) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    using std::filesystem::perms;
    JsonFileUserDefaults(file).set("a", true);
    EXPECT_EQ(std::filesystem::status(file).permissions(), perms::owner_read | perms::owner_write)
        << "a new file is the user's own";

    for (const auto mode : {perms::owner_read | perms::group_read | perms::others_read,
                            perms::owner_read | perms::owner_write | perms::group_read}) {
        std::filesystem::permissions(file, mode);
        JsonFileUserDefaults(file).set("a", false);
        EXPECT_EQ(std::filesystem::status(file).permissions(), mode);
        EXPECT_EQ(JsonFileUserDefaults(file).boolValue("a"), false);
    }
}

TEST(JsonFileUserDefaults, InterruptedWriteLeavesTheOldFileIntact) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults defaults(file);
    defaults.set("kept", std::string("old"));
    const auto before = readFile(file);

    defaults.setBeforeReplaceHook([] { return false; }); // the program dies before the rename
    defaults.set("kept", std::string("new"));
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(JsonFileUserDefaults(file).stringValue("kept"), "old");
}

TEST(JsonFileUserDefaults, LocationFollowsXdgConfigHome) {
    ::setenv("XDG_CONFIG_HOME", "/tmp/xdg-test", 1);
    EXPECT_EQ(JsonFileUserDefaults::defaultLocation(), "/tmp/xdg-test/zentaris/defaults.json");
    ::setenv("XDG_CONFIG_HOME", "relative/path", 1); // not absolute: ignored, as the XDG rules say
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(JsonFileUserDefaults::defaultLocation(), "/home/someone/.config/zentaris/defaults.json");
    ::unsetenv("XDG_CONFIG_HOME");
}

namespace {
// A compact settings file of about `bytes`, mostly lists of one-letter texts, which pretty-printing
// would more than triple; with the values it holds.
std::pair<std::string, std::map<std::string, DefaultsValue>> compactFileOf(std::size_t bytes) {
    std::map<std::string, DefaultsValue> values = {{"gap", std::int64_t{8}}, {"name", std::string("ü \"quoted\"")}};
    std::string entries = R"("gap":{"type":"integer","value":8},"name":{"type":"string","value":"ü \"quoted\""})";
    StringList letters;
    std::string list;
    for (int i = 0; i < 200; ++i) {
        letters.emplace_back(1, static_cast<char>('a' + i % 26));
        list += std::string(i ? "," : "") + '"' + letters.back() + '"';
    }
    const std::string tail = "}}\n";
    for (int i = 0;; ++i) {
        const std::string key = "list" + std::to_string(i);
        const std::string entry = ",\"" + key + R"(":{"type":"stringList","value":[)" + list + "]}";
        if (entries.size() + entry.size() + tail.size() + 30 > bytes) break;
        entries += entry;
        values.emplace(key, letters);
    }
    return {R"({"version":1,"values":{)" + entries + tail, values};
}

void expectValues(const JsonFileUserDefaults& defaults, const std::map<std::string, DefaultsValue>& values) {
    EXPECT_EQ(defaults.allKeys().size(), values.size());
    for (const auto& [key, value] : values) EXPECT_EQ(defaults.object(key), value) << key;
}
} // namespace

TEST(JsonFileUserDefaults, AWrittenFileIsAlwaysOneThatIsReadBack) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    auto [large, values] = compactFileOf(340 * 1024);
    writeFile(file, large);
    {
        JsonFileUserDefaults defaults(file);
        expectValues(defaults, values);
        defaults.set("fresh", true);
        values.emplace("fresh", true);
    }
    EXPECT_LE(std::filesystem::file_size(file), JsonFileUserDefaults::maximumFileSize);
    JsonFileUserDefaults restarted(file);
    expectValues(restarted, values);
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "nothing moved aside";
}

TEST(JsonFileUserDefaults, AChangeThatWouldMakeTheFileTooLargeIsRefusedAndTheFileStaysAsItWas) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    const auto [full, values] = compactFileOf(JsonFileUserDefaults::maximumFileSize);
    // An entry this version cannot read would be copied aside before a rewrite.
    const std::string original = full.substr(0, full.size() - 3) + R"(,"odd":{"type":"colour","value":1}}})" + "\n";
    ASSERT_LE(original.size(), JsonFileUserDefaults::maximumFileSize);
    writeFile(file, original);
    JsonFileUserDefaults defaults(file);
    std::vector<std::string> failures;
    defaults.setWriteFailureHandler([&failures](const std::string& reason) { failures.push_back(reason); });

    defaults.set("note", std::string(100, 'x'));
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("larger than 1 MiB"), std::string::npos) << failures[0];
    EXPECT_TRUE(readFile(file) == original);
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "no copy kept aside, no temporary left";

    defaults.writeFailureSeen();
    defaults.removeObject("list0");
    EXPECT_EQ(failures.size(), 1u) << "a change that makes room is written";
    EXPECT_FALSE(JsonFileUserDefaults(file).object("list0").has_value());
    EXPECT_EQ(JsonFileUserDefaults(file).stringValue("note"), std::string(100, 'x')) << "and the refused one with it";

    // A change that can never fit holds back none after it.
    defaults.set("huge", std::string(JsonFileUserDefaults::maximumFileSize, 'x'));
    ASSERT_EQ(failures.size(), 2u);
    defaults.writeFailureSeen();
    defaults.set("huge", std::string(JsonFileUserDefaults::maximumFileSize, 'y'));
    ASSERT_EQ(failures.size(), 3u) << "a new value too large is told too";
    defaults.writeFailureSeen();
    defaults.removeObject("list1");
    EXPECT_EQ(failures.size(), 3u);
    JsonFileUserDefaults reloaded(file);
    EXPECT_FALSE(reloaded.object("list1").has_value());
    EXPECT_FALSE(reloaded.object("huge").has_value());
}

TEST(JsonFileUserDefaults, AMebibyteOfEmptyObjectsLoads) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    const std::string head = R"({"version":1,"values":{"a":{"type":"bool","value":true}},"extra":[{})";
    std::string text = head;
    while (text.size() + 5 <= JsonFileUserDefaults::maximumFileSize) text += ",{}";
    writeFile(file, text + "]}");
    JsonFileUserDefaults defaults(file);
    EXPECT_EQ(defaults.boolValue("a"), true);
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "nothing moved aside";
}

TEST(JsonFileUserDefaults, UpdateChangesTheValueAsItIsOnDisk) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    JsonFileUserDefaults a(file);
    JsonFileUserDefaults b(file); // the same user's session on another display
    int heard = 0;
    auto token = a.observe("languages", [&heard] { ++heard; });
    const auto append = [](std::string item) {
        return [item](const std::optional<DefaultsValue>& stored) -> std::optional<DefaultsValue> {
            auto list = stored ? std::get<StringList>(*stored) : StringList{};
            list.push_back(item);
            return list;
        };
    };
    b.update("languages", append("ja"));
    a.update("languages", append("en"));
    EXPECT_EQ(a.stringListValue("languages"), (StringList{"ja", "en"}));
    EXPECT_EQ(heard, 1);
    EXPECT_EQ(JsonFileUserDefaults(file).stringListValue("languages"), (StringList{"ja", "en"}));

    b.update("languages", [](const std::optional<DefaultsValue>&) { return std::nullopt; });
    EXPECT_FALSE(JsonFileUserDefaults(file).object("languages").has_value());
}

namespace {
std::string asideStamp(std::time_t at) {
    std::tm utc{};
    gmtime_r(&at, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &utc);
    return text;
}
} // namespace

TEST(JsonFileUserDefaults, FilesKeptAsideNeverOverwriteEarlierOnesOfTheSameSecond) {
    TemporaryDirectory dir;
    const auto file = dir / "defaults.json";
    // Earlier files kept aside in this second and the next ones, under the first names tried.
    std::map<std::filesystem::path, std::string> earlier;
    const std::time_t now = std::time(nullptr);
    for (std::time_t second = now; second <= now + 2; ++second) {
        for (const std::string suffix : {"", "-2"}) {
            const auto name = dir / ("defaults.json.unreadable-" + asideStamp(second) + suffix);
            earlier[name] = "earlier " + name.filename().string();
            writeFile(name, earlier[name]);
        }
    }
    const std::vector<std::string> originals = {"{broken", withEntries(R"({"type":"colour","value":1})"),
                                                withEntries(R"({"type":"colour","value":2})")};
    writeFile(file, originals[0]);
    JsonFileUserDefaults(file).set("a", true); // moved aside at start
    for (std::size_t i = 1; i < originals.size(); ++i) {
        writeFile(file, originals[i]);
        JsonFileUserDefaults(file).set("a", false); // a copy kept aside before the change
    }

    for (const auto& [name, text] : earlier) EXPECT_EQ(readFile(name), text) << name;
    std::multiset<std::string> kept;
    for (const auto& path : filesIn(dir.path())) {
        if (path != file && !earlier.contains(path)) kept.insert(readFile(path));
    }
    EXPECT_EQ(kept, std::multiset<std::string>(originals.begin(), originals.end()));
}
