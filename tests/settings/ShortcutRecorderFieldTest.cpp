#include "ShortcutsPageTestSupport.h"
#include "settings/ShortcutRecorderField.h"
#include "shortcuts/ModuleTexts.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

using namespace GlobalShortcuts;

namespace {

struct ShortcutRecorderFieldTest : zentaris::testing::ShortcutsPageFixture {
    QWidget window;
    QLineEdit* elsewhere = new QLineEdit(&window);
    std::vector<std::optional<Shortcut>> changes;
    std::vector<std::string> activity;
    std::vector<ShortcutRecorderField::Alert> alerts;
    int answer = 1000;
    ShortcutRecorderField* recorder = new ShortcutRecorderField(Name{"recorded"}, [this](const std::optional<Shortcut>& s) { changes.push_back(s); }, &window);
    platform::ObservationToken statusWatcher = notifications.addObserver(
        recorderActiveStatusDidChangeNotification,
        [this](const platform::Notification& note) { activity.push_back(note.userInfo->at("isActive")); });

    ShortcutRecorderFieldTest() {
        ModuleTexts::resetShared();
        auto* column = new QVBoxLayout(&window);
        column->addWidget(elsewhere);
        column->addWidget(recorder);
        recorder->setAlertPresenter([this](QWidget*, const ShortcutRecorderField::Alert& alert) {
            alerts.push_back(alert);
            return answer;
        });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        elsewhere->setFocus();
    }
    ~ShortcutRecorderFieldTest() override { ModuleTexts::resetShared(); }

    void click() { QTest::mouseClick(recorder, Qt::LeftButton); }
    void press(Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        pressKey(elsewhere, static_cast<std::uint32_t>(key.rawValue), modifiers);
    }
    static std::string text(const std::string& key) { return ModuleTexts::shared().localizedString(key); }
};

} // namespace

TEST_F(ShortcutRecorderFieldTest, AClickRecordsAndAFunctionKeyAloneIsStored) {
    EXPECT_EQ(recorder->placeholderText().toStdString(), text("record_shortcut"));
    click();
    ASSERT_TRUE(recorder->isRecording());
    EXPECT_EQ(recorder->placeholderText().toStdString(), text("press_shortcut"));
    EXPECT_TRUE(GlobalShortcuts::isPaused());
    EXPECT_EQ(activity, (std::vector<std::string>{"true"}));

    press(Key::a);
    press(Key::a, Qt::ShiftModifier);
    EXPECT_TRUE(recorder->isRecording()) << "refused with a beep";
    EXPECT_FALSE(getShortcut(Name{"recorded"}));

    press(Key::f5, Qt::ShiftModifier);
    EXPECT_EQ(getShortcut(Name{"recorded"}), (Shortcut{Key::f5.rawValue, CarbonModifier::shift}));
    EXPECT_EQ(changes, (std::vector<std::optional<Shortcut>>{Shortcut{Key::f5.rawValue, CarbonModifier::shift}}));
    EXPECT_EQ(recorder->text().toStdString(), "⇧F5");
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(GlobalShortcuts::isPaused());
    EXPECT_EQ(activity, (std::vector<std::string>{"true", "false"}));
}

TEST_F(ShortcutRecorderFieldTest, EscapeKeepsTabPassesAndDeleteClears) {
    setShortcut(Shortcut{Key::k.rawValue, CarbonModifier::control | CarbonModifier::option}, Name{"recorded"});
    EXPECT_EQ(recorder->text().toStdString(), "⌃⌥K") << "a store elsewhere shows at once";

    click();
    press(Key::escape);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(getShortcut(Name{"recorded"}));

    click();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier,
                  platform::fake::FakeKeyCodeTranslator::nativeKeyFor(static_cast<std::uint32_t>(Key::tab.rawValue)), 0, 0);
    EXPECT_FALSE(recorder->handleRecordingEvent(&tab)) << "Tab goes on to move the focus";
    EXPECT_FALSE(recorder->isRecording());

    click();
    press(Key::delete_);
    EXPECT_FALSE(getShortcut(Name{"recorded"}));
    EXPECT_EQ(changes, (std::vector<std::optional<Shortcut>>{std::nullopt}));
    EXPECT_TRUE(recorder->isRecording()) << "ready for a new combination at once";
}

TEST_F(ShortcutRecorderFieldTest, ACombinationOfAnotherNameIsRefusedWithItsName) {
    click();
    press(Key::leftArrow, Qt::MetaModifier | Qt::AltModifier);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_NE(alerts[0].message.find("leftColumn"), std::string::npos);
    EXPECT_FALSE(getShortcut(Name{"recorded"}));
    EXPECT_TRUE(recorder->isRecording()) << "focus is taken back after the alert";
}

TEST_F(ShortcutRecorderFieldTest, ASystemCombinationIsStoredOnlyWhenForced) {
    hotKeys.setSymbolicHotKeys({{true, Key::k.rawValue, CarbonModifier::command}});
    click();
    press(Key::k, Qt::MetaModifier);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, text("keyboard_shortcut_used_by_system"));
    EXPECT_EQ(alerts[0].buttons, (std::vector<std::string>{text("ok"), text("force_use_shortcut")}));
    EXPECT_FALSE(getShortcut(Name{"recorded"}));
    EXPECT_TRUE(recorder->isRecording());

    answer = 1001;
    press(Key::k, Qt::MetaModifier);
    EXPECT_EQ(getShortcut(Name{"recorded"}), (Shortcut{Key::k.rawValue, CarbonModifier::command}));
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(ShortcutRecorderFieldTest, AClickFarOutsideEndsRecordingAndANearOneDoesNot) {
    click();
    const auto releaseAt = [this](QPoint local) {
        const QPointF global = recorder->mapToGlobal(QPointF(local));
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(local), global, Qt::RightButton, Qt::NoButton, Qt::NoModifier);
        return recorder->handleRecordingEvent(&release);
    };
    EXPECT_TRUE(releaseAt({recorder->width() + 2, 5})) << "2 points outside is swallowed";
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_FALSE(releaseAt({recorder->width() + 4, 5})) << "4 points outside goes through";
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(ShortcutRecorderFieldTest, ANewNameShowsItsShortcut) {
    recorder->setShortcutName(zentaris::ShortcutNames::leftColumn());
    EXPECT_EQ(recorder->text().toStdString(), "⌥⌘←");
    EXPECT_GE(recorder->sizeHint().width(), ShortcutRecorderField::minimumWidth);
}
