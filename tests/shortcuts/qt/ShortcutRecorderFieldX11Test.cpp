// The module's recorder on a private X display with a window manager, used with a real mouse and
// keyboard: what a person meets, not what a widget test sends it.

#include "ShortcutTestSupport.h"
#include "platform/KeyCodeTranslator.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11KeyCodeTranslator.h"
#include "platform/x11/X11Keymap.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/qt/ShortcutRecorderField.h"
#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <sys/wait.h>

using namespace GlobalShortcuts;

namespace {

const Name recorded{"recorded"};

// One display, keymap and application for the whole suite: Qt's xcb side is set up once per process.
struct X11Session {
    zentaris::testing::PrivateDisplay display;
    std::unique_ptr<platform::x11::X11Connection> connection;
    std::unique_ptr<platform::x11::X11Keymap> keymap;
    std::unique_ptr<platform::x11::X11KeyCodeTranslator> translator;
    QApplication* application = nullptr;

    X11Session() {
        setenv("DISPLAY", display.name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        connection = platform::x11::X11Connection::open(display.name().c_str());
        if (!connection) return;
        keymap = std::make_unique<platform::x11::X11Keymap>(*connection);
        translator = std::make_unique<platform::x11::X11KeyCodeTranslator>(*keymap);
        static int argc = 1;
        static char name[] = "recorder_field_x11";
        static char* argv[] = {name, nullptr};
        application = new QApplication(argc, argv);
    }

    static X11Session& shared() {
        static auto* session = new X11Session;
        return *session;
    }
};

struct ShortcutRecorderFieldX11Test : ::testing::Test {
    X11Session& session = X11Session::shared();
    zentaris::testing::ShortcutCaptionEnvironment captions;
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeHotKeys hotKeys;
    platform::fake::FakeMainQueue queue;
    std::unique_ptr<QWidget> window;
    QLineEdit* elsewhere = nullptr;
    ShortcutRecorderField* recorder = nullptr;

    void SetUp() override {
        ASSERT_TRUE(session.application) << "no private display";
        platform::UserDefaults::installStandard(&defaults);
        platform::HotKeys::installShared(&hotKeys);
        platform::MainQueue::installMain(&queue);
        platform::KeyCodeTranslator::install(session.translator.get());
        Registry::resetShared();

        window = std::make_unique<QWidget>();
        window->setWindowTitle(QStringLiteral("RecorderFieldTarget"));
        auto* column = new QVBoxLayout(window.get());
        elsewhere = new QLineEdit(window.get());
        recorder = new ShortcutRecorderField(recorded, {}, window.get());
        recorder->setBeep([] {});
        column->addWidget(elsewhere);
        column->addWidget(recorder);
        window->show();
        ASSERT_EQ(run({"xdotool", "search", "--sync", "--name", "RecorderFieldTarget", "windowactivate", "--sync"}), 0);
        ASSERT_TRUE(waitUntil([this] { return window->isActiveWindow(); }));
        elsewhere->setFocus();
    }

    void TearDown() override {
        window.reset();
        Registry::resetShared();
        platform::KeyCodeTranslator::install(nullptr);
        platform::HotKeys::installShared(nullptr);
    }

    int run(const std::vector<std::string>& argv) { return session.display.run(argv); }

    template <typename Condition>
    static bool waitUntil(Condition condition, int milliseconds = 5000) {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }

    static void settle(int milliseconds = 200) { waitUntil([] { return false; }, milliseconds); }

    void clickOn(const QWidget& widget) {
        const QPoint global = widget.mapToGlobal(widget.rect().center());
        ASSERT_EQ(run({"xdotool", "mousemove", std::to_string(global.x()), std::to_string(global.y()), "click", "1"}), 0);
    }
};

} // namespace

TEST_F(ShortcutRecorderFieldX11Test, TheClearButtonShowsForAStoredShortcutAndAClickOnItClearsIt) {
    auto* clearButton = recorder->findChild<QToolButton*>();
    ASSERT_TRUE(clearButton);
    setShortcut(Shortcut{Key::k.rawValue, CarbonModifier::control | CarbonModifier::option}, recorded);
    settle();
    ASSERT_EQ(recorder->text().toStdString(), "⌃⌥K");
    EXPECT_TRUE(clearButton->isVisible()) << "stored elsewhere";

    clickOn(*clearButton);
    EXPECT_TRUE(waitUntil([] { return !getShortcut(recorded); })) << "the click cleared it";
    EXPECT_TRUE(recorder->text().isEmpty());
    EXPECT_TRUE(recorder->isRecording()) << "ready for a new combination";

    ASSERT_EQ(run({"xdotool", "key", "super+alt+j"}), 0);
    ASSERT_TRUE(waitUntil([] { return getShortcut(recorded).has_value(); }));
    settle();
    EXPECT_TRUE(clearButton->isVisible()) << "recorded here";
    clickOn(*clearButton);
    EXPECT_TRUE(waitUntil([] { return !getShortcut(recorded); }));
}

TEST_F(ShortcutRecorderFieldX11Test, RecordingGoesOnAfterAConflictAlert) {
    QMenu menu;
    menu.addAction(QStringLiteral("Open"))->setShortcut(QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_O));
    int alerts = 0;
    // Whoever reads the alert closes it with Return, as soon as the window manager gives it the keyboard.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!alert || !alert->isActiveWindow()) return;
        closer.stop();
        ++alerts;
        run({"xdotool", "key", "Return"});
        closer.start(50);
    });
    closer.start(50);

    clickOn(*recorder);
    ASSERT_TRUE(waitUntil([this] { return recorder->isRecording(); }));
    ASSERT_EQ(run({"xdotool", "key", "super+alt+o"}), 0);
    ASSERT_TRUE(waitUntil([&] { return alerts == 1 && window->isActiveWindow(); }));
    settle(300);
    EXPECT_TRUE(recorder->isRecording()) << "the alert is closed and the field records again";
    EXPECT_TRUE(isPaused());

    ASSERT_EQ(run({"xdotool", "key", "super+alt+j"}), 0);
    EXPECT_TRUE(waitUntil([] { return getShortcut(recorded).has_value(); })) << "the next combination is stored";
    EXPECT_EQ(getShortcut(recorded), (Shortcut{Key::j.rawValue, CarbonModifier::command | CarbonModifier::option}));
    EXPECT_EQ(alerts, 1);

    // The window going to the back and returning still does not start recording.
    QWidget other;
    other.setWindowTitle(QStringLiteral("RecorderFieldOther"));
    other.show();
    ASSERT_EQ(run({"xdotool", "search", "--sync", "--name", "RecorderFieldOther", "windowactivate", "--sync"}), 0);
    ASSERT_TRUE(waitUntil([&] { return other.isActiveWindow(); }));
    ASSERT_EQ(run({"xdotool", "search", "--sync", "--name", "RecorderFieldTarget", "windowactivate", "--sync"}), 0);
    ASSERT_TRUE(waitUntil([this] { return window->isActiveWindow(); }));
    settle(300);
    EXPECT_FALSE(recorder->isRecording());
}

TEST_F(ShortcutRecorderFieldX11Test, NoCaretBlinksWhileRecording) {
    QApplication::setCursorFlashTime(400);
    // Frames of a widget a little longer than one blink, read back from the X server.
    const auto changingFrames = [](const QWidget& widget) {
        const auto grab = [&widget] {
            const QPoint origin = widget.mapToGlobal(QPoint(0, 0));
            return widget.screen()->grabWindow(0, origin.x(), origin.y(), widget.width(), widget.height()).toImage();
        };
        settle();
        const QImage first = grab();
        int changing = 0;
        for (int frame = 0; frame < 8; ++frame) {
            settle(70);
            if (grab() != first) ++changing;
        }
        return changing;
    };
    ASSERT_GT(changingFrames(*elsewhere), 0) << "an ordinary field's caret blinks";

    clickOn(*recorder);
    ASSERT_TRUE(waitUntil([this] { return recorder->isRecording(); }));
    EXPECT_EQ(changingFrames(*recorder), 0) << "the recording field changed on screen while nobody touched it";
}

// Right after closing the alert the user goes to another program, before the settings window had
// its turn; when that window comes back a while later, as any window comes back, nothing starts.
TEST_F(ShortcutRecorderFieldX11Test, ComingBackAWhileAfterAConflictAlertStartsNothing) {
    QMenu menu;
    menu.addAction(QStringLiteral("Open"))->setShortcut(QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_O));
    struct Terminal {
        pid_t pid;
        ~Terminal() {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
    } terminal{session.display.spawn({"xterm", "-title", "RecorderFieldTerminal"})};
    ASSERT_EQ(run({"xdotool", "search", "--sync", "--name", "RecorderFieldTerminal"}), 0);
    ASSERT_EQ(run({"xdotool", "search", "--sync", "--name", "RecorderFieldTarget", "windowactivate", "--sync"}), 0);
    ASSERT_TRUE(waitUntil([this] { return window->isActiveWindow(); }));
    bool closed = false;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        auto* alert = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!alert || !alert->isActiveWindow()) return;
        closer.stop();
        closed = true;
        // Both at once: the terminal has the keyboard before this process even reads the Return.
        run({"xdotool", "key", "Return", "search", "--name", "RecorderFieldTerminal", "windowactivate", "--sync"});
    });
    closer.start(50);

    clickOn(*recorder);
    ASSERT_TRUE(waitUntil([this] { return recorder->isRecording(); }));
    ASSERT_EQ(run({"xdotool", "key", "super+alt+o"}), 0);
    ASSERT_TRUE(waitUntil([&] { return closed && !QApplication::activeModalWidget(); }));
    // Well past the moment a window manager hands the window back after an alert.
    settle(1500);
    ASSERT_FALSE(window->isActiveWindow()) << "the settings window had its turn after the alert";
    EXPECT_FALSE(recorder->isRecording());

    ASSERT_EQ(run({"xdotool", "search", "--sync", "--name", "RecorderFieldTarget", "windowactivate", "--sync"}), 0);
    ASSERT_TRUE(waitUntil([this] { return window->isActiveWindow(); }));
    settle(300);
    EXPECT_FALSE(recorder->isRecording()) << "the window's return started recording";
    EXPECT_FALSE(isPaused());
    clickOn(*recorder);
    EXPECT_TRUE(waitUntil([this] { return recorder->isRecording(); })) << "a click still starts it";
}
