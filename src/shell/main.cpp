// The process entry: connects to the X server, builds the platform backends, and hands control
// to the application controller inside Qt's event loop.

#include "app/AppDelegate.h"
#include "app/LoginItem.h"
#include "shell/QtApplicationShell.h"
#include "shell/SaveAtExit.h"
#include "shell/ScreenToWidgetGeometry.h"
#include "shell/SettingsSaveAlert.h"
#include "onboarding/OnboardingState.h"
#include "platform/Bundle.h"
#include "platform/HotKeys.h"
#include "platform/KeyboardLayout.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtMainQueue.h"
#include "platform/qt/QtTerminationSignals.h"
#include "platform/system/FailingStandardError.h"
#include "platform/system/JsonFileUserDefaults.h"
#include "platform/system/LinuxHostInformation.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Desktop.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11InputMonitor.h"
#include "platform/x11/X11KeyCodeTranslator.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11KeyboardLayout.h"
#include "platform/x11/X11QtEventPump.h"
#include "platform/x11/X11SingleInstance.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"
#include "services/UpdateService.h"

#include <QApplication>
#include <QDesktopServices>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QUrl>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <pwd.h>
#include <unistd.h>

namespace {

// Zentaris arranges X11 windows; under Wayland it can only reach those running through XWayland.
// The connection made to check the server stays open: it holds this program's claim on the display.
std::unique_ptr<platform::x11::X11Connection> prepareX11Session() {
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::cerr << "zentaris: no X11 display ($DISPLAY is not set). Zentaris needs an X11 session "
                     "(or XWayland); run it from a desktop session or use `scripts/zentaris run`.\n";
        return nullptr;
    }
    if (const char* wayland = std::getenv("WAYLAND_DISPLAY"); wayland && *wayland) {
        std::cerr << "zentaris: this is a Wayland session; only windows of X11 (XWayland) applications can be arranged.\n";
    }
    // Qt aborts with a note about its plug-ins when the server cannot be reached; say what is wrong instead.
    auto connection = platform::x11::X11Connection::open(display);
    if (!connection) {
        std::cerr << "zentaris: cannot connect to the X server on " << display << ". Zentaris needs an X11 session.\n";
        return nullptr;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    return connection;
}

// The login name, or the user number when the system knows no name for it.
std::string userName() {
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_name && *entry->pw_name) return entry->pw_name;
    return std::to_string(::getuid());
}

std::filesystem::path ownExecutable() {
    std::error_code error;
    auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path("zentaris") : path;
}

} // namespace

int main(int argc, char** argv) {
    // A log that fills up or a reader of standard error that goes away must not end the program
    // or silence the line that names lost settings.
    platform::surviveFailingStandardError();
    auto session = prepareX11Session();
    if (!session) return 1;
    // One Zentaris per user and display: a second start opens the settings of the first, the only
    // way to reach them where there is no tray. Decided before anything reads the settings file.
    auto instance = platform::x11::X11SingleInstance::claim(*session, userName());
    if (instance.handedOver) {
        std::cout << "zentaris: Zentaris is already running on " << std::getenv("DISPLAY")
                  << "; its settings window has been brought to the front.\n";
        return 0;
    }
    if (!instance.held) {
        std::cerr << "zentaris: could not make sure that no other Zentaris runs on " << std::getenv("DISPLAY")
                  << "; starting anyway.\n";
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zentaris"));
    QApplication::setQuitOnLastWindowClosed(false);

    platform::JsonFileUserDefaults defaults(platform::JsonFileUserDefaults::defaultLocation());
    platform::UserDefaults::installStandard(&defaults);
    // Also when Qt ends the process because the X server went away.
    zentaris::SaveAtExit lastSave([&defaults] { defaults.saveBeforeQuitting(); });
    platform::qt::QtAlertPresenter alerts;
    zentaris::alertWhenSettingsAreNotSaved(defaults, alerts);
    platform::qt::QtMainQueue mainQueue;
    platform::MainQueue::installMain(&mainQueue);
    // A stuck lock holder costs one wait per turn of the loop, not one for each save of a start or click.
    defaults.waitForTheLockOncePerTurnOf(mainQueue);

    platform::x11::X11Desktop::Options options;
    options.openUrl = [](const std::string& url) { return QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); };
    // The connection that holds the claim serves the whole backend.
    auto x11 = platform::x11::X11Desktop::over(std::move(session), mainQueue, options);
    platform::x11::X11QtEventPump eventPump(x11->connection());
    // Goes before the connection it lives on.
    const auto instanceGuard = std::move(instance.held);
    // Overlays count screen coordinates from the monitor the backend counts them from.
    zentaris::installPrimaryMonitorQuery([&x11] { return std::optional(x11->monitors().rootSpace().primary); });
    platform::x11::X11Keymap keymap(x11->connection());
    platform::x11::X11HotKeys hotKeys(x11->connection(), keymap);
    platform::HotKeys::installShared(&hotKeys);
    platform::x11::X11InputMonitor inputMonitor(x11->connection(), keymap, x11->monitors(), x11->accessibility(),
                                                mainQueue);
    platform::x11::X11KeyboardLayout keyboardLayout(keymap);
    platform::KeyboardLayout::install(&keyboardLayout);
    platform::x11::X11KeyCodeTranslator keyCodeTranslator(keymap);
    platform::KeyCodeTranslator::install(&keyCodeTranslator);
    const platform::Desktop desktop = x11->desktop(defaults);

    platform::qt::QtHttpClient http;
    zentaris::UpdateService::configureShared(zentaris::UpdateService::standardDependencies(
        http, alerts, desktop.workspace, [] { QCoreApplication::quit(); }));

    zentaris::LanguageManager::shared();
    platform::LinuxHostInformation host;
    zentaris::QtApplicationShell shell(defaults, zentaris::SupportSettingsView::standardDependencies(desktop, host));
    shell.setTranslucencyQuery([&x11] { return x11->connection().compositingManagerRunning(); });
    alerts.setOwnerQuery([&shell] { return shell.settingsWindow(); });
    shell.setOwnWindowPlacement(&x11->workspace());
    // `kill`, logout, a closed terminal and Ctrl-C end the program as the tray menu's Quit does.
    platform::qt::QtTerminationSignals terminationSignals([&shell] { shell.terminate(); });
    zentaris::LoginItem loginItem(zentaris::LoginItem::defaultAutostartDirectory(), ownExecutable());

    zentaris::AppDelegate controller({
        .desktop = desktop,
        .notifications = platform::NotificationCenter::defaultCenter(),
        .settings = zentaris::ShortcutSettings::shared(),
        .shell = shell,
        .checkForUpdatesIfNeeded = [] { zentaris::UpdateService::shared().checkForUpdatesIfNeeded(); },
        .shouldShowOnboarding = [] { return zentaris::OnboardingState::shouldShowOnboarding(); },
        .resetOnboardingToFirstPage =
            [] { zentaris::OnboardingState::shared().setCurrentStep(zentaris::OnboardingStep::welcome); },
        .setLoginItemRegistered =
            [&loginItem](bool enabled) { enabled ? loginItem.registerItem() : loginItem.unregisterItem(); },
        .inputMonitor = &inputMonitor,
    });
    controller.applicationDidFinishLaunching();
    if (instanceGuard) instanceGuard->onRequest([&controller] { controller.openSettings(); });
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        std::cerr << "zentaris: there is no system tray on this desktop yet; the icon appears as soon as one starts. "
                     "Until then, start Zentaris again to open its settings.\n";
    }
    const int status = QApplication::exec();
    controller.applicationWillTerminate();
    lastSave.run();
    return status;
}
