// A settings change made while the disk is full, as a person meets it: the alert says the next
// change will try again, and once there is room the next change saves it, with the defaults that
// could not be stored at start; a change still unsaved at quit is saved then.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <signal.h>
#include <sstream>
#include <sys/wait.h>

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

} // namespace
} // namespace zentaris::testing
