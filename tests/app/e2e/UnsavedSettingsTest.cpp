// A settings change made while the disk is full, as a person meets it: the alert says the next
// change will try again, and once there is room the next change saves it, with the defaults that
// could not be stored at start; a change still unsaved when the program ends (by its Quit, by a
// signal, or because the X server went away) is saved then, or named on standard error.

#include "ZentarisSession.h"
#include "platform/system/SettingsStoreTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace zentaris::testing {
namespace {

// The values in the program's defaults file; empty while it cannot be read.
nlohmann::json storedValues(const ZentarisSession& session) {
    std::ifstream in(session.defaultsFile());
    std::stringstream text;
    text << in.rdbuf();
    const auto document = nlohmann::json::parse(text.str(), nullptr, false);
    return document.is_object() && document.contains("values") ? document["values"] : nlohmann::json::object();
}

// Dismisses the failed-save alert with the keyboard, as a person would: it is the program's active
// window other than `settings`; false when none shows.
bool dismissAlert(ZentarisSession& session, xcb_window_t settings = XCB_NONE) {
    std::optional<xcb_window_t> alert;
    if (!waitUntil([&] {
            alert = session.screen().activeWindow();
            return alert && *alert != settings && session.screen().classInstance(*alert) == "zentaris";
        }, 15)) {
        return false;
    }
    session.press({"Return"});
    return waitUntil([&] { return !session.screen().viewable(*alert); }, 5);
}

// Sets how large the program's files may grow: 16 bytes is a full disk.
void limitFileSize(ZentarisSession& session, const std::string& bytes) {
    ASSERT_EQ(session.display().run({"prlimit", "--pid", std::to_string(session.programPid()), "--fsize=" + bytes + ":"}), 0);
}

TEST(UnsavedSettings, AChangeRefusedOnAFullDiskIsSavedWithTheNextChangeOnceThereIsRoomOrAtQuit) {
    if (!endToEndToolsAvailable() || !programAvailable("prlimit") || !programAvailable("trayer")) {
        GTEST_SKIP() << "the X tools, prlimit, trayer or the program are missing";
    }
    ZentarisSession session;
    session.display().spawn({"trayer", "--edge", "top", "--align", "right", "--widthtype", "request", "--height", "24",
                             "--transparent", "false"});
    session.launchProgram({"sh", "-c", "trap '' XFSZ; exec prlimit --fsize=16: \"$@\"", "sh"});
    ASSERT_TRUE(dismissAlert(session)) << "the default shortcuts could not be stored at start, and that is told";
    ASSERT_FALSE(storedValues(session).contains("GlobalShortcuts_leftColumn"));

    // Starting it again brings the settings forward; the Activation Key picker goes from Super to Shift.
    session.display().run({"env", "XDG_CONFIG_HOME=" + session.configHome().string(), ZENTARIS_BINARY});
    std::optional<xcb_window_t> settings;
    ASSERT_TRUE(waitUntil([&] { return (settings = session.screen().clientTitled("Settings")).has_value(); }, 10));
    // Placing the window saves its frame, which is refused as well.
    ASSERT_TRUE(dismissAlert(session, *settings)) << "the refused frame is told";
    session.focus(*settings);
    // From the selected sidebar entry past the rest of the sidebar, the tutorial button and the
    // language picker.
    session.press(std::vector<std::string>(9, "Tab"));
    session.press({"Down"});
    ASSERT_TRUE(dismissAlert(session, *settings)) << "the refused change is told";
    EXPECT_FALSE(storedValues(session).contains("dragModeModifier"));

    // Room again; moving the settings window saves its frame, and with it what was refused.
    limitFileSize(session, "unlimited");
    session.display().run({"xdotool", "windowmove", std::to_string(*settings), "300", "200"});
    ASSERT_TRUE(waitUntil([&] { return storedValues(session).contains("windowFrame.Settings"); }, 10))
        << storedValues(session).dump();
    const auto values = storedValues(session);
    EXPECT_EQ(values.value("dragModeModifier", nlohmann::json::object()).value("value", ""), "shift");
    EXPECT_TRUE(values.contains("GlobalShortcuts_leftColumn")) << "a default not stored at start is stored now";

    // Full again: Super back is refused; there is room again only when the program is quit.
    limitFileSize(session, "16");
    session.focus(*settings);
    session.press({"Up"});
    ASSERT_TRUE(dismissAlert(session, *settings)) << "the refused change is told";
    limitFileSize(session, "unlimited");
    ASSERT_TRUE(session.openTrayMenu()) << "the tray menu did not open";
    session.press({"Up", "Return"}); // from no row, Up picks the last: Quit
    ASSERT_TRUE(waitUntil([&] { return ::kill(session.programPid(), 0) != 0 || ::waitpid(session.programPid(), nullptr, WNOHANG) > 0; }, 10));
    EXPECT_EQ(storedValues(session).value("dragModeModifier", nlohmann::json::object()).value("value", ""), "command");
}

// A program whose standard error the test reads, and whose Activation Key change, Super to Shift,
// is refused on a full disk.
class UnsavedWhenTheProgramEnds : public ::testing::Test {
protected:
    void SetUp() override {
        if (!endToEndToolsAvailable() || !programAvailable("prlimit")) GTEST_SKIP() << "the X tools, prlimit or the program are missing";
        session_ = std::make_unique<ZentarisSession>();
    }

    // Starts the program, on a disk that is full from the start or with room, with standard error
    // a pipe whose reader the test keeps or has closed.
    void start(bool fullFromTheStart, bool readerGone = false) {
        const auto terminal = session_->openTerminal("Terminal 1", 100, 100);
        // A pipe: the file size limit that plays the full disk would cut a file short.
        ASSERT_EQ(::pipe(errors_), 0);
        if (readerGone) ::close(std::exchange(errors_[0], -1));
        const std::string full = fullFromTheStart ? "prlimit --fsize=16: " : "";
        const std::vector<std::string> launcher = {"sh", "-c", "trap '' XFSZ; exec " + full + "\"$@\" 2>&" + std::to_string(errors_[1]), "sh"};
        // On a full disk the alert comes first; with room, the program is up once its shortcuts work.
        if (fullFromTheStart) session_->launchProgram(launcher);
        else ASSERT_TRUE(session_->startProgram(terminal, {0, 0, 1920, 1080}, launcher));
        ::close(std::exchange(errors_[1], -1));
    }

    // From a start with room: nothing else waits to be saved then.
    void changeTheActivationKeyWhileTheDiskIsFull() {
        session_->display().run({"env", "XDG_CONFIG_HOME=" + session_->configHome().string(), ZENTARIS_BINARY});
        std::optional<xcb_window_t> settings;
        ASSERT_TRUE(waitUntil([&] { return (settings = session_->screen().clientTitled("Settings")).has_value(); }, 10));
        ASSERT_TRUE(waitUntil([&] { return storedValues(*session_).contains("windowFrame.Settings"); }, 10));
        limitFileSize(*session_, "16");
        session_->focus(*settings);
        session_->press(std::vector<std::string>(9, "Tab"));
        session_->press({"Down"});
        ASSERT_TRUE(dismissAlert(*session_, *settings)) << "the refused change is told";
        ASSERT_NE(activationKey(), "shift");
    }

    void TearDown() override {
        for (const int end : errors_) {
            if (end >= 0) ::close(end);
        }
    }

    // What the program wrote to standard error, once it has ended.
    std::string errorOutput() {
        ::fcntl(errors_[0], F_SETFL, O_NONBLOCK);
        waitUntil([&] {
            char buffer[4096];
            ssize_t n = 0;
            while ((n = ::read(errors_[0], buffer, sizeof buffer)) > 0) errorText_.append(buffer, static_cast<std::size_t>(n));
            return n == 0;
        }, 10);
        return errorText_;
    }
    std::string activationKey() const {
        return storedValues(*session_).value("dragModeModifier", nlohmann::json::object()).value("value", "");
    }
    // The settings named as lost, one list for each line that names some.
    std::vector<std::vector<std::string>> namedAsLost() {
        std::vector<std::vector<std::string>> lines;
        std::istringstream text(errorOutput());
        for (std::string line; std::getline(text, line);) {
            const auto names = line.find("could not be saved and are lost:");
            if (names == std::string::npos) continue;
            auto& keys = lines.emplace_back();
            for (auto open = line.find('"', names); open != std::string::npos; open = line.find('"', open + 1)) {
                const auto close = line.find('"', open + 1);
                if (close == std::string::npos) break;
                keys.push_back(line.substr(open + 1, close - open - 1));
                open = close;
            }
        }
        return lines;
    }

    std::unique_ptr<ZentarisSession> session_;
    int errors_[2] = {-1, -1};
    std::string errorText_;
};

// Logout and `kill` send SIGTERM, a closed terminal SIGHUP, Ctrl-C SIGINT.
class UnsavedWhenSignalled : public UnsavedWhenTheProgramEnds, public ::testing::WithParamInterface<int> {};

TEST_P(UnsavedWhenSignalled, TheSignalSavesTheRefusedChangeOnceThereIsRoom) {
    ASSERT_NO_FATAL_FAILURE(start(/*fullFromTheStart=*/false));
    ASSERT_NO_FATAL_FAILURE(changeTheActivationKeyWhileTheDiskIsFull());
    limitFileSize(*session_, "unlimited");
    ::kill(session_->programPid(), GetParam());
    EXPECT_EQ(exitStatus(session_->programPid(), 15), 0) << "it ends as its Quit does";
    EXPECT_EQ(activationKey(), "shift");
    EXPECT_TRUE(namedAsLost().empty()) << errorOutput();
}

INSTANTIATE_TEST_SUITE_P(Signals, UnsavedWhenSignalled, ::testing::Values(SIGTERM, SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) { return std::string(sigabbrev_np(info.param)); });

TEST_F(UnsavedWhenTheProgramEnds, SigtermOnAFullDiskNamesTheLostChangeAndNothingElse) {
    ASSERT_NO_FATAL_FAILURE(start(/*fullFromTheStart=*/false));
    ASSERT_NO_FATAL_FAILURE(changeTheActivationKeyWhileTheDiskIsFull());
    ::kill(session_->programPid(), SIGTERM);
    EXPECT_EQ(exitStatus(session_->programPid(), 15), 0) << "it ends as its Quit does";
    EXPECT_NE(activationKey(), "shift");
    EXPECT_EQ(namedAsLost(), std::vector<std::vector<std::string>>{{"dragModeModifier"}})
        << errorOutput();
}

// As `zentaris 2>&1 | tee log` once `tee` has ended: the line about the refused defaults meets a
// closed pipe.
TEST_F(UnsavedWhenTheProgramEnds, AReaderOfStandardErrorThatWentAwayEndsNothingAndLosesNothing) {
    ASSERT_NO_FATAL_FAILURE(start(/*fullFromTheStart=*/true, /*readerGone=*/true));
    ASSERT_TRUE(dismissAlert(*session_)) << "the default shortcuts could not be stored at start, and that is told";
    limitFileSize(*session_, "unlimited");
    ::kill(session_->programPid(), SIGTERM);
    EXPECT_EQ(exitStatus(session_->programPid(), 15), 0);
    EXPECT_TRUE(storedValues(*session_).contains("GlobalShortcuts_leftColumn"));
}

TEST_F(UnsavedWhenTheProgramEnds, AStartOnAFullDiskThatChangedNothingNamesNothingAsLost) {
    ASSERT_NO_FATAL_FAILURE(start(/*fullFromTheStart=*/true));
    ASSERT_TRUE(dismissAlert(*session_)) << "the default shortcuts could not be stored at start, and that is told";
    ::kill(session_->programPid(), SIGTERM);
    EXPECT_EQ(exitStatus(session_->programPid(), 15), 0);
    EXPECT_TRUE(namedAsLost().empty()) << "defaults and the language in use are stored again at the next start\n"
                                       << errorOutput();
}

TEST_F(UnsavedWhenTheProgramEnds, TheXServerGoingAwaySavesTheRefusedChange) {
    ASSERT_NO_FATAL_FAILURE(start(/*fullFromTheStart=*/false));
    ASSERT_NO_FATAL_FAILURE(changeTheActivationKeyWhileTheDiskIsFull());
    limitFileSize(*session_, "unlimited");
    ::kill(session_->display().processes().front(), SIGTERM);
    EXPECT_TRUE(exitStatus(session_->programPid(), 15)) << "it outlived its display";
    EXPECT_EQ(activationKey(), "shift");
}

TEST(UnsavedSettings, AStartBehindAStuckLockHolderWaitsOnceAndSavesTheDefaultsOnceItLetsGo) {
    if (!endToEndToolsAvailable()) GTEST_SKIP() << "the X tools or the program are missing";
    ZentarisSession session;
    const auto terminal = session.openTerminal("Terminal 1", 100, 100);
    std::filesystem::create_directories(session.defaultsFile().parent_path());
    auto holder = std::make_unique<StuckLockHolder>(session.defaultsFile().parent_path());
    ASSERT_TRUE(holder->holds());
    // Some 23 saves at start, each refused: one wait of two seconds, not one for each.
    session.launchProgram();
    ASSERT_TRUE(dismissAlert(session)) << "the refused saves are told within seconds";
    ASSERT_TRUE(session.waitForShortcuts(terminal, {0, 0, 1920, 1080}));
    EXPECT_FALSE(storedValues(session).contains("GlobalShortcuts_leftColumn"));

    holder.reset();
    ::kill(session.programPid(), SIGTERM);
    EXPECT_EQ(exitStatus(session.programPid(), 15), 0);
    EXPECT_TRUE(storedValues(session).contains("GlobalShortcuts_leftColumn"));
}

} // namespace
} // namespace zentaris::testing
