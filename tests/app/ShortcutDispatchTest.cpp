// Which arrangement each layout shortcut asks for, pressed as its stored default combination.
#include "AppTestSupport.h"

#include <ostream>

using namespace zentaris;
using namespace zentaris::testing;
using platform::Rect;

namespace platform {
inline void PrintTo(const Rect& r, std::ostream* out) {
    *out << "(" << r.minX() << ", " << r.minY() << ", " << r.width() << ", " << r.height() << ")";
}
} // namespace platform

namespace {

// Frames count from the screen's bottom-left corner. One 1000 x 800 screen with no gap and four windows, listed in the order they were added.
struct ShortcutDispatchTest : AppFixture {
    std::vector<platform::AXUIElement> windows;

    ShortcutDispatchTest() {
        desktop.addScreen({0, 0, 1000, 800});
        desktop.defaults().set("windowGap", 0.0);
        for (int index = 0; index < 4; ++index) windows.push_back(desktop.addWindow({100.0 + 50 * index, 100, 200, 200}, "window"));
        desktop.focus(windows.front());
        launch();
        desktop.mainQueue().runPending();
    }
};

TEST_F(ShortcutDispatchTest, OptionCommandWithEachDigitArrangesItsLayout) {
    struct Case {
        const char* digit;
        std::uint32_t keyCode; // the digit row's key codes are not in order
        std::vector<Rect> frames;
    };
    const Case cases[] = {
        {"1", 18, {{0, 0, 500, 800}, {500, 0, 500, 800}}},
        {"2", 19, {{0, 400, 1000, 400}, {0, 0, 1000, 400}}},
        {"3", 20, {{0, 0, 700, 800}, {700, 0, 300, 800}}},
        {"4", 21, {{0, 0, 300, 800}, {300, 0, 700, 800}}},
        {"5", 23, {{0, 0, 300, 800}, {300, 0, 400, 800}, {700, 0, 300, 800}}},
        {"6", 22, {{0, 400, 1000, 400}, {0, 0, 500, 400}, {500, 0, 500, 400}}},
        {"7", 26, {{0, 400, 500, 400}, {500, 400, 500, 400}, {0, 0, 1000, 400}}},
        // These two fill the lower quarter before the upper one.
        {"8", 28, {{0, 0, 500, 800}, {500, 0, 500, 400}, {500, 400, 500, 400}}},
        {"9", 25, {{0, 0, 500, 400}, {0, 400, 500, 400}, {500, 0, 500, 800}}},
        {"0", 29, {{0, 400, 500, 400}, {500, 400, 500, 400}, {0, 0, 500, 400}, {500, 0, 500, 400}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(std::string("option-command-") + test.digit);
        // Long enough for the last card to go and for a press to count as a first one.
        desktop.mainQueue().advance(10);
        shell.tooManyWindows.clear();
        press(test.keyCode, optionCommand);
        const auto slots = static_cast<std::int64_t>(test.frames.size());
        for (std::size_t index = 0; index < test.frames.size(); ++index) {
            EXPECT_EQ(desktop.frameOf(windows[index]), test.frames[index]) << "window " << index;
        }
        using Report = std::vector<std::pair<std::int64_t, std::int64_t>>;
        const Report tooMany = slots < 4 ? Report{{slots, 4}} : Report{};
        EXPECT_EQ(shell.tooManyWindows, tooMany) << "the layout's number of windows";
    }
}

} // namespace
