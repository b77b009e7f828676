#include "ShortcutsPageTestSupport.h"
#include "settings/LocalizedShortcutRecorder.h"
#include "settings/PlainButton.h"
#include "shortcuts/KeyCaptionTable.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <iterator>
#include <map>

using namespace zentaris;
using GlobalShortcuts::Key;
using GlobalShortcuts::ModifierFlags;
using GlobalShortcuts::Shortcut;

namespace {

constexpr std::uint64_t cmd = ModifierFlags::command;
constexpr std::uint64_t ctrl = ModifierFlags::control;
constexpr std::uint64_t opt = ModifierFlags::option;
constexpr std::uint64_t shift = ModifierFlags::shift;

std::string text(const std::string& key) { return LanguageManager::shared().localizedString(key); }

struct ShortcutValidationTest : zentaris::testing::ShortcutsPageFixture {};

struct RecorderTest : zentaris::testing::ShortcutsPageFixture {
    QWidget window;
    QLineEdit* elsewhere = new QLineEdit(&window);
    LocalizedShortcutRecorder* recorder = new LocalizedShortcutRecorder("left_positioning", ShortcutNames::leftColumn(), &window);
    LocalizedShortcutRecorder* other = new LocalizedShortcutRecorder("fullscreen", ShortcutNames::fullscreen(), &window);

    RecorderTest() {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(elsewhere);
        column->addWidget(recorder);
        column->addWidget(other);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        elsewhere->setFocus();
    }

    void press(std::uint32_t key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { pressKey(elsewhere, key, modifiers); }
    bool slotHeldBy(const GlobalShortcuts::Name& name) const {
        const auto& holder = app->currentRecordingShortcut().value();
        return holder && holder->rawValue == name.rawValue && app->isInShortcutEditMode().value();
    }
    bool slotFree() const { return !app->currentRecordingShortcut().value() && !app->isInShortcutEditMode().value(); }
};

} // namespace

TEST_F(ShortcutValidationTest, EveryModifierClassOnEveryKindOfKey) {
    // Keys: G and Q, 1, 5 and = need a second modifier (Q is also Quit with Command alone), Return
    // too; K and the comma do not; F5 and Left are always usable once Command or Control is held.
    const Key keys[] = {Key::g, Key::k, Key::one, Key::five, Key::equal, Key::comma, Key::return_, Key::f5, Key::leftArrow, Key::q};
    // Per key: '.' accepted, 'm' no Command or Control, 's' needs a strong combination, 'r' reserved.
    const struct {
        const char* what;
        std::uint64_t flags;
        const char* outcomes;
    } classes[] = {
        {"none", 0, "mmmmmmmmmm"},
        {"Shift", shift, "mmmmmmmmmm"},
        {"Option", opt, "mmmmmmmmmm"},
        {"Option+Shift", opt | shift, "mmmmmmmmmm"},
        {"Function", ModifierFlags::function, "mmmmmmmmmm"},
        {"Control", ctrl, "s.sss.s..s"},
        {"Control+Shift", ctrl | shift, ".........."},
        {"Control+Option", ctrl | opt, ".........."},
        {"Command", cmd, "s.sss.s..r"},
        {"Command+Caps Lock", cmd | ModifierFlags::capsLock, "s.sss.s..r"},
        {"Command+Function", cmd | ModifierFlags::function, "s.sss.s..s"},
        {"Command+Shift", cmd | shift, ".........."},
        {"Command+Option", cmd | opt, ".........."},
        {"Command+Control", cmd | ctrl, ".........."},
        {"all four", cmd | ctrl | opt | shift, ".........."},
    };
    const std::map<char, std::string> messages{
        {'.', ""},
        {'m', text("must_include_modifiers")},
        {'s', text("letters_need_strong_modifiers")},
        {'r', text("reserved_for") + " " + text("system_quit")},
    };
    for (const auto& modifierClass : classes) {
        for (std::size_t index = 0; index < std::size(keys); ++index) {
            const auto result = LocalizedShortcutRecorder::validateShortcut(keys[index].rawValue, ModifierFlags{modifierClass.flags});
            const std::string& expected = messages.at(modifierClass.outcomes[index]);
            EXPECT_EQ(result.isValid, expected.empty()) << modifierClass.what << " key " << keys[index].rawValue;
            EXPECT_EQ(result.message, expected) << modifierClass.what << " key " << keys[index].rawValue;
        }
    }
}

TEST_F(ShortcutValidationTest, ReservedCombinationsAreExactlyCommandWithTheirKey) {
    const struct {
        Key key;
        std::uint64_t flags;
        std::string message; // empty: accepted
    } cases[] = {
        {Key::h, cmd, text("reserved_for") + " " + text("system_hide")},
        {Key::w, cmd | opt, ""},
        {Key::space, cmd, text("reserved_for") + " " + text("system_spotlight")},
        {Key::space, ctrl, text("letters_need_strong_modifiers")},
        {Key::slash, cmd, text("reserved_for") + " " + text("system_help")},
        {Key::l, cmd, text("reserved_for") + " " + text("system_location_bar")},
        {Key::j, cmd, ""},
    };
    for (const auto& c : cases) {
        const auto result = LocalizedShortcutRecorder::validateShortcut(c.key.rawValue, ModifierFlags{c.flags});
        EXPECT_EQ(result.isValid, c.message.empty()) << c.key.rawValue << " " << c.flags;
        EXPECT_EQ(result.message, c.message) << c.key.rawValue << " " << c.flags;
    }
}

TEST_F(ShortcutValidationTest, DisplayStringsShowGlyphsThenTheKey) {
    const struct {
        Shortcut shortcut;
        std::string shown;
    } cases[] = {
        {{Key::leftArrow.rawValue, 0x900}, "⌥⌘←"},
        {{Key::k.rawValue, 0x100 | 0x200 | 0x800 | 0x1000}, "⌃⌥⇧⌘K"},
        {{Key::space.rawValue, 0x100 | 0x200}, "⇧⌘Space"},
        {{Key::f12.rawValue, 0x1000}, "⌃F12"},
        {{Key::return_.rawValue, 0x900}, "⌥⌘↩"},
        {{Key::deleteForward.rawValue, 0x100}, "⌘⌦"},
    };
    for (const auto& c : cases) EXPECT_EQ(shortcutDisplayString(c.shortcut), c.shown);
}

TEST_F(ShortcutValidationTest, DisplayStringsShowEveryNamedKeyByItsCaption) {
    for (const auto& row : zentaris::testing::keyCaptionTable) {
        EXPECT_EQ(shortcutDisplayString(Shortcut{row.code, 0x1000}), std::string("⌃") + row.caption) << row.name;
    }
}

TEST_F(RecorderTest, ANewCombinationIsStoredAnnouncedAndTheSlotReleased) {
    ASSERT_EQ(recorder->currentShortcut(), (Shortcut{Key::leftArrow.rawValue, 0x900}));
    EXPECT_EQ(recorder->shownText().toStdString(), "⌥⌘←");

    recorder->button()->click();
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(slotHeldBy(ShortcutNames::leftColumn()));
    EXPECT_FALSE(hotKeys.isRegistered(Key::leftArrow.rawValue, 0x900)) << "grabbed keys would never reach the window";
    EXPECT_EQ(recorder->shownSymbol(), "record.circle");
    EXPECT_EQ(recorder->shownText().toStdString(), text("press_shortcut"));
    EXPECT_FALSE(other->button()->isEnabled());

    press(Key::k.rawValue, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_TRUE(elsewhere->text().isEmpty()) << "the key press went to the recorder only";
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::k.rawValue, 0x1800}));
    EXPECT_EQ(count(AppDelegate::shortcutsDidResetNotification), 1);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());
    EXPECT_FALSE(GlobalShortcuts::isPaused());
    EXPECT_TRUE(hotKeys.isRegistered(Key::k.rawValue, 0x1800));
    EXPECT_TRUE(hotKeys.isRegistered(Key::rightArrow.rawValue, 0x900)) << "the others are back";
    EXPECT_EQ(recorder->shownText().toStdString(), "⌃⌥K");
    EXPECT_TRUE(other->button()->isEnabled());

    // Typing reaches the program's windows again.
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
    QApplication::sendEvent(elsewhere, &typed);
    EXPECT_EQ(elsewhere->text().toStdString(), "k");
}

TEST_F(RecorderTest, SuperIsCommandAndModifierKeysAloneAreNoCombination) {
    recorder->button()->click();
    QKeyEvent controlAlone(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier,
                           platform::fake::FakeKeyCodeTranslator::nativeKeyFor(Key::control.rawValue), 0, 0);
    QApplication::sendEvent(elsewhere, &controlAlone);
    runQueue();
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_FALSE(recorder->showingSafetyWarning());

    press(Key::j.rawValue, Qt::MetaModifier);
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::j.rawValue, 0x100}));
}

TEST_F(RecorderTest, AnUnsafeCombinationWarnsForThreeSecondsAndRecordingGoesOn) {
    recorder->button()->click();
    press(Key::q.rawValue, Qt::MetaModifier);
    EXPECT_FALSE(recorder->showingSafetyWarning()) << "shown on the next turn of the main queue";
    runQueue();
    EXPECT_TRUE(recorder->showingSafetyWarning());
    EXPECT_TRUE(recorder->warningChip()->isVisible());
    EXPECT_EQ(recorder->safetyWarningMessage(), text("reserved_for") + " " + text("system_quit"));
    EXPECT_EQ(recorder->shownSymbol(), "exclamationmark.triangle");
    EXPECT_EQ(recorder->shownText().toStdString(), text("unsafe_shortcut"));
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::leftArrow.rawValue, 0x900}));

    desktop.mainQueue().advance(1.5);
    press(Key::g.rawValue, Qt::MetaModifier);
    runQueue();
    EXPECT_EQ(recorder->safetyWarningMessage(), text("letters_need_strong_modifiers"));
    desktop.mainQueue().advance(1.6);
    EXPECT_FALSE(recorder->showingSafetyWarning()) << "hidden three seconds after the first warning";
    EXPECT_FALSE(recorder->warningChip()->isVisible());
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_EQ(count(AppDelegate::shortcutsDidResetNotification), 0);
}

TEST_F(RecorderTest, EscapeCancelsAndTheCurrentCombinationConfirms) {
    recorder->button()->click();
    press(Key::escape.rawValue, Qt::ShiftModifier);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::leftArrow.rawValue, 0x900}));

    recorder->button()->click();
    press(Key::leftArrow.rawValue, Qt::MetaModifier | Qt::AltModifier);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());
    EXPECT_EQ(count(AppDelegate::shortcutsDidResetNotification), 0) << "nothing stored or posted";

    // The button stops a recording too.
    recorder->button()->click();
    recorder->button()->click();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());
}

TEST_F(RecorderTest, TheControllersCancelReachesOnlyTheRecorderOfThatName) {
    recorder->button()->click();
    notifications.post(AppDelegate::cancelShortcutRecordingNotification, platform::UserInfo{{"shortcutName", "fullscreen"}});
    EXPECT_TRUE(recorder->isRecording());
    notifications.post(AppDelegate::cancelShortcutRecordingNotification, platform::UserInfo{});
    EXPECT_TRUE(recorder->isRecording()) << "user info without the name cancels nothing";
    notifications.post(AppDelegate::cancelShortcutRecordingNotification, platform::UserInfo{{"shortcutName", "leftColumn"}});
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());

    recorder->button()->click();
    notifications.post(AppDelegate::cancelShortcutRecordingNotification);
    EXPECT_FALSE(recorder->isRecording()) << "no user info cancels the recorder holding the slot";
    EXPECT_TRUE(slotFree());
}

TEST_F(RecorderTest, OnlyAnEscapeInTheProgramsOwnWindowsCancels) {
    recorder->button()->click();
    // The controller's key monitor hears the whole desktop: Escape in another program.
    app->handleKeyDown(Key::escape.rawValue);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_TRUE(slotHeldBy(ShortcutNames::leftColumn()));

    press(Key::escape.rawValue);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());
    QKeyEvent typed(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QApplication::sendEvent(elsewhere, &typed);
    EXPECT_EQ(elsewhere->text().toStdString(), "x") << "the monitor is gone";
}

TEST_F(RecorderTest, WhileAnotherWindowIsActiveTheShortcutsAreBackButArrowsAndDragModeStayQuiet) {
    int arranged = 0;
    GlobalShortcuts::onKeyDown(ShortcutNames::splitVertical(), [&arranged] { ++arranged; });
    const auto dragToSnapBefore = app->isDragAndDropEnabled().value();
    recorder->button()->click();
    EXPECT_FALSE(hotKeys.isRegistered(Key::one.rawValue, optionCommand));

    QWidget otherProgram;
    otherProgram.show();
    otherProgram.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&otherProgram));
    EXPECT_TRUE(recorder->isRecording());
    ASSERT_TRUE(hotKeys.isRegistered(Key::one.rawValue, optionCommand));
    ASSERT_TRUE(hotKeys.isRegistered(Key::d.rawValue, 0x300));
    AppFixture::press(Key::one.rawValue, optionCommand);
    AppFixture::press(Key::d.rawValue, 0x300);
    EXPECT_EQ(arranged, 1) << "a layout shortcut runs";
    EXPECT_EQ(app->isDragAndDropEnabled().value(), dragToSnapBefore) << "the drag-mode shortcut does not";

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_FALSE(hotKeys.isRegistered(Key::one.rawValue, optionCommand)) << "down again for the recording";
    press(Key::k.rawValue, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(stored(ShortcutNames::leftColumn()), (Shortcut{Key::k.rawValue, 0x1800}));
    EXPECT_TRUE(hotKeys.isRegistered(Key::one.rawValue, optionCommand));
}

TEST_F(RecorderTest, ASecondRecorderCannotClaimTheSlot) {
    recorder->button()->click();
    EXPECT_FALSE(other->button()->isEnabled());
    EXPECT_EQ(other->shownSymbol(), "keyboard");
    other->toggleRecording();
    EXPECT_FALSE(other->isRecording());
    EXPECT_TRUE(slotHeldBy(ShortcutNames::leftColumn()));

    GlobalShortcuts::setShortcut(std::nullopt, ShortcutNames::fullscreen());
    other->reloadCurrentShortcut();
    EXPECT_EQ(other->shownSymbol(), "lock.circle");
    EXPECT_EQ(other->shownText().toStdString(), text("recording_in_progress"));

    // A slot claimed elsewhere also keeps an idle recorder from starting.
    recorder->button()->click();
    ASSERT_TRUE(app->startRecordingShortcut(ShortcutNames::topLeftQuarter()));
    recorder->toggleRecording();
    EXPECT_FALSE(recorder->isRecording());
    app->stopRecordingShortcut(std::nullopt);
}

TEST_F(RecorderTest, AResetOrAStoreElsewhereIsShownAfterItIsAnnounced) {
    GlobalShortcuts::setShortcut(Shortcut{Key::l.rawValue, 0x1100}, ShortcutNames::leftColumn());
    EXPECT_EQ(recorder->shownText().toStdString(), "⌥⌘←");
    notifications.post(AppDelegate::shortcutsDidResetNotification);
    EXPECT_EQ(recorder->shownText().toStdString(), "⌃⌘L");
}

TEST_F(RecorderTest, ClosingTheWindowEndsTheRecordingAndFreesTheSlot) {
    recorder->button()->click();
    window.hide();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(slotFree());
    EXPECT_TRUE(hotKeys.isRegistered(Key::leftArrow.rawValue, 0x900));

    window.show();
    recorder->button()->click();
    delete recorder;
    EXPECT_TRUE(slotFree());
    EXPECT_TRUE(hotKeys.isRegistered(Key::leftArrow.rawValue, 0x900));
}
