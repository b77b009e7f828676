// The Support page in the settings window on a private X display, driven with the pointer and
// keyboard as a person would, handing its mail to the desktop's own mail opener. The desktop's
// programs are described by data and configuration folders of the test's own.

#include "SettingsPageTestSupport.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/x11/X11Desktop.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsView.h"
#include "shell/QtApplicationShell.h"
#include "support/PrivateDisplay.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWindow>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace zentaris::testing {
namespace {

class SupportPageX11 : public SettingsPageFixture {
protected:
    // Set before the first test makes the application and before the mail opener first reads the
    // desktop's folders, which it does once per process.
    static void SetUpTestSuite() {
        if (!programAvailable("Xvfb") || !programAvailable("xdotool") || !programAvailable("wmctrl")) return;
        display_ = new PrivateDisplay;
        folders_ = new TemporaryDirectory;
        const auto& root = *folders_;
        // The desktop's mail program is there but cannot start: what should run it was removed.
        const auto program = root / "mail";
        writeFile(program, "#!" + (root / "removed-shell").string() + "\n");
        std::filesystem::permissions(program, std::filesystem::perms::owner_all);
        writeFile(root / "data/applications/stranded-mail.desktop",
                  "[Desktop Entry]\nType=Application\nName=Stranded Mail\nExec=" + program.string()
                      + " %u\nMimeType=x-scheme-handler/mailto;\n");
        writeFile(root / "config/mimeapps.list", "[Default Applications]\nx-scheme-handler/mailto=stranded-mail.desktop\n");
        setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (root / "config").c_str(), 1);
        setenv("XDG_DATA_DIRS", (root / "none").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (root / "none").c_str(), 1);
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (root / "no-bus").string()).c_str(), 1);
        setenv("DISPLAY", display_->name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
    }
    static void TearDownTestSuite() {
        delete display_; // the application is left: Qt torn down among the statics at exit crashes
        delete folders_;
    }

    void SetUp() override {
        if (!display_) GTEST_SKIP() << "Xvfb, xdotool or wmctrl is missing";
        desktop_ = platform::x11::X11Desktop::open(queue, {.displayName = display_->name().c_str()});
        ASSERT_NE(desktop_, nullptr);
        // The program's own wiring, with the desktop's real workspace and no opener put in its place.
        shell_ = std::make_unique<QtApplicationShell>(
            defaults, SupportSettingsView::Dependencies{desktop_->workspace(), mainQueue_, supportDependencies().system,
                                                        "help@example.org"});
    }
    void TearDown() override { shell_.reset(); }

    template <typename Condition>
    static bool waitUntil(Condition done) {
        QElapsedTimer clock;
        clock.start();
        while (!done() && clock.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        return done();
    }

    // Runs xdotool on the display and lets the events it caused arrive.
    void xdotool(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "xdotool");
        ASSERT_EQ(display_->run(arguments), 0);
        QCoreApplication::processEvents();
    }
    void click(QWidget* widget) {
        const QPoint centre = widget->mapToGlobal(widget->rect().center());
        xdotool({"mousemove", "--sync", std::to_string(centre.x()), std::to_string(centre.y()), "click", "1"});
    }
    // Clicks a field and replaces what it holds by typing.
    void typeInto(QWidget* field, const std::string& text) {
        click(field);
        ASSERT_TRUE(waitUntil([field] { return field->hasFocus(); })) << "the click did not give the field the focus";
        xdotool({"key", "ctrl+a"});
        xdotool({"type", "--delay", "20", text});
    }
    // Moves on with Tab until `target` has the focus; the page scrolls it into view on the way.
    void tabTo(QWidget* target) {
        for (int presses = 0; presses < 12 && !target->hasFocus(); ++presses) {
            const QWidget* before = QApplication::focusWidget();
            xdotool({"key", "Tab"});
            waitUntil([before] { return QApplication::focusWidget() != before; });
        }
        ASSERT_TRUE(target->hasFocus());
    }

    // Our widgets have no meta-object of their own, so Qt's child search would take any widget.
    static SettingsView* settingsViewIn(QWidget* window) {
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (auto* view = dynamic_cast<SettingsView*>(child)) return view;
        }
        return nullptr;
    }

    // Opens the settings window as the Preferences row does and goes to the Support page.
    SupportSettingsView* openSupportPage() {
        shell_->showSettingsWindow();
        window_ = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!window->parentWidget() && settingsViewIn(window)) window_ = window;
        }
        if (!window_ || !waitUntil([this] { return window_->windowHandle() && window_->windowHandle()->isExposed(); })) {
            return nullptr;
        }
        auto* view = settingsViewIn(window_);
        waitUntil([this] { return QApplication::activeWindow() == window_; });
        click(view->sidebar()->item(SettingsTab::support));
        waitUntil([view] { return dynamic_cast<SupportSettingsView*>(view->currentPage()) != nullptr; });
        auto* page = dynamic_cast<SupportSettingsView*>(view->currentPage());
        // A new page slides in from the side; it is clicked once it stands in its place.
        return page && waitUntil([page] { return page->isVisible() && page->x() == 0; }) ? page : nullptr;
    }

    platform::qt::QtMainQueue mainQueue_;
    std::unique_ptr<platform::x11::X11Desktop> desktop_;
    std::unique_ptr<QtApplicationShell> shell_;
    QWidget* window_ = nullptr;
    static inline PrivateDisplay* display_ = nullptr;
    static inline TemporaryDirectory* folders_ = nullptr;
};

TEST_F(SupportPageX11, AMailProgramThatCannotStartIsReportedAndTheMessageStays) {
    EXPECT_FALSE(desktop_->workspace().openURL("mailto:help@example.org?body=Hello"))
        << "the desktop's mail opener counted a program that cannot run as having the message";

    auto* page = openSupportPage();
    ASSERT_NE(page, nullptr);
    click(page->subjectField());
    tabTo(page->messageEditor());
    xdotool({"type", "--delay", "20", "It crashed on start"});
    ASSERT_TRUE(waitUntil([page] { return page->sendButton()->isEnabled(); }));
    tabTo(page->sendButton());
    click(page->sendButton());
    ASSERT_TRUE(waitUntil([page] { return page->alert() && page->alert()->isVisible(); })) << "no alert";
    EXPECT_EQ(page->alert()->text(), text("error_title"));
    EXPECT_EQ(page->alert()->informativeText(), text("email_error_message"));
    EXPECT_EQ(page->subjectField()->text(), "[General Question]: ");
    EXPECT_EQ(page->messageEditor()->toPlainText(), "It crashed on start");
    EXPECT_TRUE(page->sendButton()->isEnabled()) << "the message can be sent again";
}

TEST_F(SupportPageX11, ASubjectTypedOnTheSupportPageSurvivesClosingAndReopeningTheWindow) {
    auto* page = openSupportPage();
    ASSERT_NE(page, nullptr);
    typeInto(page->subjectField(), "Printing fails");
    ASSERT_TRUE(waitUntil([page] { return page->subjectField()->text() == "Printing fails"; }))
        << "typed: " << page->subjectField()->text().toStdString();

    // Closed from outside, as the window manager's close button does.
    const std::string window = std::to_string(window_->winId());
    ASSERT_EQ(display_->run({"wmctrl", "-i", "-c", window}), 0);
    ASSERT_TRUE(waitUntil([this] { return !window_->isVisible(); })) << "the window did not close";

    ASSERT_EQ(openSupportPage(), page) << "the same page comes back";
    EXPECT_EQ(page->subjectField()->text(), "Printing fails");
}

} // namespace
} // namespace zentaris::testing
