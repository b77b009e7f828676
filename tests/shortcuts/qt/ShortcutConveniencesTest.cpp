#include "QtShortcutTestSupport.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/qt/ShortcutConveniences.h"
#include "shortcuts/qt/ShortcutRecorderField.h"

#include <QAction>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTest>

#include <memory>

using namespace GlobalShortcuts;

namespace {

const Name named{"named"};
const Name another{"another"};
const Shortcut optCmdLeft{Key::leftArrow.rawValue, CarbonModifier::command | CarbonModifier::option};
const Shortcut ctrlK{Key::k.rawValue, CarbonModifier::control};
const Shortcut keypadFive{Key::keypad5.rawValue, CarbonModifier::control};
const QKeySequence metaAltLeft(Qt::MetaModifier | Qt::AltModifier | Qt::Key_Left);
const QKeySequence ctrlKKeys(Qt::ControlModifier | Qt::Key_K);

struct ShortcutConveniencesTest : zentaris::testing::QtShortcutScene {
    void recorderActive(const char* value) {
        platform::NotificationCenter::defaultCenter().post(recorderActiveStatusDidChangeNotification,
                                                           platform::UserInfo{{"isActive", value}});
    }
};

} // namespace

TEST_F(ShortcutConveniencesTest, AnActionFollowsItsNameAndStandsAsideWhileARecorderRecords) {
    QAction action;
    QPushButton button;
    QShortcut shortcut(&button);
    globalKeyboardShortcut(action, named);
    globalKeyboardShortcut(button, named);
    globalKeyboardShortcut(shortcut, named);
    EXPECT_TRUE(action.shortcut().isEmpty()) << "nothing stored yet";

    setShortcut(optCmdLeft, named);
    EXPECT_EQ(action.shortcut(), metaAltLeft);
    EXPECT_EQ(button.shortcut(), metaAltLeft);
    EXPECT_EQ(shortcut.key(), metaAltLeft);
    setShortcut(ctrlK, another);
    EXPECT_EQ(action.shortcut(), metaAltLeft) << "another name's change leaves it alone";

    recorderActive("true");
    EXPECT_TRUE(action.shortcut().isEmpty());
    EXPECT_TRUE(shortcut.key().isEmpty());
    setShortcut(ctrlK, named);
    EXPECT_TRUE(action.shortcut().isEmpty()) << "still withdrawn while recording";
    recorderActive("false");
    EXPECT_EQ(action.shortcut(), ctrlKKeys) << "the name's current one when recording ends";
    recorderActive("maybe");
    EXPECT_EQ(action.shortcut(), ctrlKKeys) << "anything but true is not recording";
}

TEST_F(ShortcutConveniencesTest, TheModulesRecorderOfAnyNameWithdrawsTheKeysUntilItEnds) {
    QAction action;
    setShortcut(optCmdLeft, named);
    globalKeyboardShortcut(action, named);
    QWidget window;
    auto* recorder = new ShortcutRecorderField(another, {}, &window);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(recorder, Qt::LeftButton);
    ASSERT_TRUE(recorder->isRecording());
    EXPECT_TRUE(action.shortcut().isEmpty());
    pressKey(recorder, Key::escape);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_EQ(action.shortcut(), metaAltLeft);
}

TEST_F(ShortcutConveniencesTest, AMenuItemIsBoundReboundAndUnbound) {
    QAction item;
    setShortcut(optCmdLeft, named);
    setShortcut(keypadFive, another);
    bindShortcut(item, named);
    EXPECT_EQ(item.shortcut(), metaAltLeft);
    recorderActive("true");
    EXPECT_EQ(item.shortcut(), metaAltLeft) << "a menu item keeps its key while recording";
    recorderActive("false");

    bindShortcut(item, another);
    EXPECT_TRUE(item.shortcut().isEmpty()) << "a keypad key has no key equivalent";
    setShortcut(ctrlK, named);
    EXPECT_TRUE(item.shortcut().isEmpty()) << "the first name no longer reaches it";
    setShortcut(ctrlK, another);
    EXPECT_EQ(item.shortcut(), ctrlKKeys);

    bindShortcut(item, std::nullopt);
    EXPECT_TRUE(item.shortcut().isEmpty());
    setShortcut(optCmdLeft, another);
    EXPECT_TRUE(item.shortcut().isEmpty()) << "unbound: later changes are ignored";

    setShortcut(item, ctrlK);
    EXPECT_EQ(item.shortcut(), ctrlKKeys);
    setShortcut(optCmdLeft, another);
    EXPECT_EQ(item.shortcut(), ctrlKKeys) << "set once, not bound";
    setShortcut(item, std::nullopt);
    EXPECT_TRUE(item.shortcut().isEmpty());
}

TEST_F(ShortcutConveniencesTest, KeyboardEventsReachTheirObjectUntilItGoes) {
    setShortcut(optCmdLeft, named);
    const auto keyCode = static_cast<std::uint32_t>(optCmdLeft.carbonKeyCode);
    const auto modifiers = static_cast<std::uint32_t>(optCmdLeft.carbonModifiers);
    std::vector<EventType> all;
    int releases = 0;
    auto* context = new QObject;
    onKeyboardShortcut(*context, named, [&all](EventType type) { all.push_back(type); });
    onKeyboardShortcut(*context, named, EventType::keyUp, [&releases] { ++releases; });
    queue.runPending();

    hotKeys.press(keyCode, modifiers);
    EXPECT_EQ(releases, 0) << "never on a press";
    hotKeys.release(keyCode, modifiers);
    hotKeys.press(keyCode, modifiers);
    hotKeys.release(keyCode, modifiers);
    EXPECT_EQ(releases, 2) << "once per release";
    EXPECT_EQ(all, (std::vector<EventType>{EventType::keyDown, EventType::keyUp, EventType::keyDown, EventType::keyUp}));

    delete context;
    queue.runPending();
    hotKeys.press(keyCode, modifiers);
    hotKeys.release(keyCode, modifiers);
    EXPECT_EQ(releases, 2);
    EXPECT_EQ(all.size(), 4u);
}

TEST_F(ShortcutConveniencesTest, AnObjectsKeyboardEventsEndTheMomentItIsDestroyed) {
    setShortcut(optCmdLeft, named);
    const auto keyCode = static_cast<std::uint32_t>(optCmdLeft.carbonKeyCode);
    const auto modifiers = static_cast<std::uint32_t>(optCmdLeft.carbonModifiers);
    // A real action uses its object: a call after the object is gone is a fault.
    std::vector<std::string> heard;
    const auto listener = [&heard](const std::string& label) {
        auto* context = new QObject;
        onKeyboardShortcut(*context, named, EventType::keyDown, [&heard, alive = QPointer<QObject>(context), label] {
            heard.push_back(alive ? label : label + " after its object was destroyed");
        });
        return context;
    };
    QObject* first = listener("first");
    std::unique_ptr<QObject> second(listener("second"));
    queue.runPending();

    delete first;
    hotKeys.press(keyCode, modifiers);
    EXPECT_EQ(heard, (std::vector<std::string>{"second"})) << "pressed before the queue's next turn";

    // One object's action destroys another that would hear the same press after it.
    QObject* victim = nullptr;
    QObject destroyer;
    onKeyboardShortcut(destroyer, named, EventType::keyDown, [&victim] {
        delete victim;
        victim = nullptr;
    });
    victim = listener("victim");
    queue.runPending();
    heard.clear();
    hotKeys.press(keyCode, modifiers);
    EXPECT_EQ(heard, (std::vector<std::string>{"second"}));

    // An object destroyed before its events ever started never hears one.
    delete listener("brief");
    queue.runPending();
    heard.clear();
    hotKeys.press(keyCode, modifiers);
    EXPECT_EQ(heard, (std::vector<std::string>{"second"}));
}
