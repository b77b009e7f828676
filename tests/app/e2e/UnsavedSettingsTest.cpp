// A settings change made while the disk is full, as a person meets it: the alert says the next
// change will try again, and once there is room the next change saves it, with the defaults that
// could not be stored at start.

#include "ZentarisSession.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <functional>
#include <sstream>

namespace zentaris::testing {
namespace {

using Clock = std::chrono::steady_clock;

bool waitUntil(const std::function<bool()>& done, double seconds) {
    for (const auto deadline = Clock::now() + std::chrono::duration<double>(seconds); Clock::now() < deadline;
         pauseFor(0.05)) {
        if (done()) return true;
    }
    return done();
}

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

TEST(UnsavedSettings, AChangeRefusedOnAFullDiskIsSavedWithTheNextChangeOnceThereIsRoom) {
    if (!endToEndToolsAvailable() || !programAvailable("prlimit")) GTEST_SKIP() << "the X tools, prlimit or the program are missing";
    ZentarisSession session;
    // As on a full disk: no file the program writes may grow beyond 16 bytes.
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
    ASSERT_EQ(session.display().run({"prlimit", "--pid", std::to_string(session.programPid()), "--fsize=unlimited:"}), 0);
    session.display().run({"xdotool", "windowmove", std::to_string(*settings), "300", "200"});
    ASSERT_TRUE(waitUntil([&] { return storedValues(session).contains("windowFrame.Settings"); }, 10))
        << storedValues(session).dump();
    const auto values = storedValues(session);
    EXPECT_EQ(values.value("dragModeModifier", nlohmann::json::object()).value("value", ""), "shift");
    EXPECT_TRUE(values.contains("GlobalShortcuts_leftColumn")) << "a default not stored at start is stored now";
}

} // namespace
} // namespace zentaris::testing
