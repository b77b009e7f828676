#include "QtShortcutTestSupport.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/qt/Recorder.h"
#include "shortcuts/qt/ShortcutRecorderField.h"

#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QStyle>
#include <QTest>
#include <QVBoxLayout>

using namespace GlobalShortcuts;

namespace {

const Name recorded{"recorded"};

struct ShortcutRecorderFieldTest : zentaris::testing::QtShortcutScene {
    QWidget window;
    QLineEdit* elsewhere = new QLineEdit(&window);
    std::vector<std::optional<Shortcut>> changes;
    std::vector<std::string> activity;
    std::vector<ShortcutRecorderField::Alert> alerts;
    int answer = 1000;
    int beeps = 0;
    ShortcutRecorderField* recorder =
        new ShortcutRecorderField(recorded, [this](const std::optional<Shortcut>& s) { changes.push_back(s); }, &window);
    platform::ObservationToken statusWatcher = platform::NotificationCenter::defaultCenter().addObserver(
        recorderActiveStatusDidChangeNotification,
        [this](const platform::Notification& note) { activity.push_back(note.userInfo->at("isActive")); });

    ShortcutRecorderFieldTest() {
        auto* column = new QVBoxLayout(&window);
        column->addWidget(elsewhere);
        column->addWidget(recorder);
        recorder->setAlertPresenter([this](QWidget*, const ShortcutRecorderField::Alert& alert) {
            alerts.push_back(alert);
            return answer;
        });
        recorder->setBeep([this] { ++beeps; });
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        elsewhere->setFocus();
    }

    void click() { QTest::mouseClick(recorder, Qt::LeftButton); }
    void press(Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) { pressKey(elsewhere, key, modifiers); }
    static std::string text(const std::string& key) { return ModuleTexts::shared().localizedString(key); }
};

} // namespace

TEST_F(ShortcutRecorderFieldTest, AClickRecordsAndAFunctionKeyAloneIsStored) {
    const Shortcut other{Key::k.rawValue, CarbonModifier::command};
    setShortcut(other, Name{"other"});
    EXPECT_EQ(recorder->placeholderText().toStdString(), text("record_shortcut"));
    click();
    ASSERT_TRUE(recorder->isRecording());
    EXPECT_EQ(recorder->placeholderText().toStdString(), text("press_shortcut"));
    EXPECT_TRUE(isPaused());
    EXPECT_FALSE(live(other)) << "every combination reaches the recorder";
    EXPECT_EQ(activity, (std::vector<std::string>{"true"}));

    press(Key::a);
    press(Key::a, Qt::ShiftModifier);
    EXPECT_EQ(beeps, 2);
    EXPECT_TRUE(recorder->isRecording()) << "refused with a beep";
    EXPECT_FALSE(getShortcut(recorded));

    press(Key::f5, Qt::ShiftModifier);
    EXPECT_EQ(getShortcut(recorded), (Shortcut{Key::f5.rawValue, CarbonModifier::shift}));
    EXPECT_EQ(changes, (std::vector<std::optional<Shortcut>>{Shortcut{Key::f5.rawValue, CarbonModifier::shift}}));
    EXPECT_EQ(recorder->text().toStdString(), "⇧F5");
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(isPaused());
    EXPECT_TRUE(live(other));
    EXPECT_EQ(activity, (std::vector<std::string>{"true", "false"}));
}

TEST_F(ShortcutRecorderFieldTest, EscapeKeepsTabPassesAndDeleteClears) {
    setShortcut(Shortcut{Key::k.rawValue, CarbonModifier::control | CarbonModifier::option}, recorded);
    EXPECT_EQ(recorder->text().toStdString(), "⌃⌥K") << "a store elsewhere shows at once";

    click();
    press(Key::escape);
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_TRUE(getShortcut(recorded));

    click();
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier,
                  platform::fake::FakeKeyCodeTranslator::nativeKeyFor(static_cast<std::uint32_t>(Key::tab.rawValue)), 0, 0);
    EXPECT_FALSE(recorder->handleRecordingEvent(&tab)) << "Tab goes on to move the focus";
    EXPECT_FALSE(recorder->isRecording());

    click();
    press(Key::delete_);
    EXPECT_FALSE(getShortcut(recorded));
    EXPECT_EQ(changes, (std::vector<std::optional<Shortcut>>{std::nullopt}));
    EXPECT_TRUE(recorder->isRecording()) << "ready for a new combination at once";
}

TEST_F(ShortcutRecorderFieldTest, AKeyOfUnknownPositionBeepsAndAModifierAloneWaits) {
    click();
    QKeyEvent unknown(QEvent::KeyPress, Qt::Key_F35, Qt::ControlModifier | Qt::AltModifier, 1, 0, 0);
    QApplication::sendEvent(elsewhere, &unknown);
    EXPECT_EQ(beeps, 1);
    QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier,
                      platform::fake::FakeKeyCodeTranslator::nativeKeyFor(static_cast<std::uint32_t>(Key::control.rawValue)), 0, 0);
    QApplication::sendEvent(elsewhere, &control);
    EXPECT_EQ(beeps, 1);
    EXPECT_TRUE(recorder->isRecording());
    EXPECT_FALSE(getShortcut(recorded));
}

TEST_F(ShortcutRecorderFieldTest, AMenuItemsCombinationIsRefusedAndAnotherNamesIsStored) {
    QMenu menu;
    QMenu* recent = menu.addMenu(QStringLiteral("Recent"));
    menu.addAction(QStringLiteral("&Quit"))->setShortcut(QKeySequence(Qt::ControlModifier | Qt::Key_Q));
    recent->addAction(QStringLiteral("&Open && Go"))->setShortcut(QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_O));

    click();
    press(Key::o, Qt::MetaModifier | Qt::AltModifier);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_NE(alerts[0].message.find("Open & Go"), std::string::npos) << alerts[0].message;
    EXPECT_FALSE(getShortcut(recorded));
    EXPECT_TRUE(recorder->isRecording()) << "focus is taken back after the alert";

    setShortcut(Shortcut{Key::leftArrow.rawValue, CarbonModifier::command | CarbonModifier::option}, Name{"leftColumn"});
    press(Key::leftArrow, Qt::MetaModifier | Qt::AltModifier);
    EXPECT_EQ(alerts.size(), 1u);
    EXPECT_EQ(getShortcut(recorded), (Shortcut{Key::leftArrow.rawValue, CarbonModifier::command | CarbonModifier::option}))
        << "two names may share a combination";
}

TEST_F(ShortcutRecorderFieldTest, ASystemCombinationIsStoredOnlyWhenForced) {
    hotKeys.setSymbolicHotKeys({{true, Key::k.rawValue, CarbonModifier::command}});
    click();
    press(Key::k, Qt::MetaModifier);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0].message, text("keyboard_shortcut_used_by_system"));
    EXPECT_EQ(alerts[0].buttons, (std::vector<std::string>{text("ok"), text("force_use_shortcut")}));
    EXPECT_FALSE(getShortcut(recorded));
    EXPECT_TRUE(recorder->isRecording());

    answer = 1001;
    press(Key::k, Qt::MetaModifier);
    EXPECT_EQ(getShortcut(recorded), (Shortcut{Key::k.rawValue, CarbonModifier::command}));
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

TEST_F(ShortcutRecorderFieldTest, TheWindowGoingToTheBackEndsRecordingAndItsReturnDoesNotStartIt) {
    click();
    ASSERT_TRUE(recorder->isRecording());
    QWidget otherWindow;
    otherWindow.show();
    otherWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&otherWindow));
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(isPaused());

    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QCoreApplication::processEvents();
    EXPECT_FALSE(recorder->isRecording());
    EXPECT_FALSE(isPaused());
    EXPECT_EQ(activity, (std::vector<std::string>{"true", "false"}));
    click();
    EXPECT_TRUE(recorder->isRecording()) << "a click still starts it";
}

TEST_F(ShortcutRecorderFieldTest, OnlyTheStoredCaptionEverShowsAndNoCaretWhileRecording) {
    setShortcut(Shortcut{Key::k.rawValue, CarbonModifier::control | CarbonModifier::option}, recorded);
    QApplication::clipboard()->setText(QStringLiteral("pasted"));
    recorder->paste();
    recorder->insert(QStringLiteral("typed"));
    QMimeData dragged;
    dragged.setText(QStringLiteral("dropped"));
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &dragged, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(recorder, &drop);
    EXPECT_EQ(recorder->text().toStdString(), "⌃⌥K");
    EXPECT_EQ(getShortcut(recorded), (Shortcut{Key::k.rawValue, CarbonModifier::control | CarbonModifier::option}));
    EXPECT_EQ(recorder->contextMenuPolicy(), Qt::NoContextMenu);

    EXPECT_GT(recorder->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, recorder), 0);
    click();
    EXPECT_EQ(recorder->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, recorder), 0);
}

TEST_F(ShortcutRecorderFieldTest, ANewNameShowsItsShortcut) {
    setShortcut(Shortcut{Key::leftArrow.rawValue, CarbonModifier::command | CarbonModifier::option}, Name{"leftColumn"});
    recorder->setShortcutName(Name{"leftColumn"});
    EXPECT_EQ(recorder->text().toStdString(), "⌥⌘←");
    EXPECT_GE(recorder->sizeHint().width(), ShortcutRecorderField::minimumWidth);
}

TEST_F(ShortcutRecorderFieldTest, TheLabelledRecorderPutsItsLabelBeforeTheField) {
    Recorder labelled(QStringLiteral("Show all"), recorded);
    labelled.resize(400, 40);
    labelled.show();
    auto* label = dynamic_cast<QLabel*>(labelled.label());
    ASSERT_TRUE(label);
    EXPECT_EQ(label->text(), QStringLiteral("Show all"));
    EXPECT_LT(label->geometry().right(), labelled.field().geometry().left());
    EXPECT_EQ(Recorder(recorded).label(), nullptr);
}
