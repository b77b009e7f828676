#pragma once

#include "platform/MainQueue.h"
#include "platform/NotificationCenter.h"
#include "platform/ObservationToken.h"
#include "shortcuts/qt/LocalEventMonitor.h"
#include "settings/ShortcutValidation.h"
#include "shortcuts/Name.h"
#include "shortcuts/Shortcut.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QLabel;

namespace zentaris {

class AppDelegate;
class PlainButton;

// The button that shows and records the key combination of one named shortcut. Recording claims
// the controller's single recording slot; while another recorder holds it this one is disabled.
// Every key press of the program goes to the recorder while it records; keys pressed in other
// programs never reach it. While it records and its window is the active one, the hot keys are
// down, since a combination held by a system-wide grab would never reach the window; once another
// window is active they are back (the controller keeps the arrow and drag-mode ones quiet).
class LocalizedShortcutRecorder : public QWidget {
public:
    LocalizedShortcutRecorder(std::string labelKey, GlobalShortcuts::Name shortcutName, QWidget* parent = nullptr);
    ~LocalizedShortcutRecorder() override;

    const std::string& labelKey() const { return labelKey_; }
    const GlobalShortcuts::Name& shortcutName() const { return shortcutName_; }
    bool isRecording() const { return isRecording_; }
    bool isRecordingThisShortcut() const;
    const std::optional<GlobalShortcuts::Shortcut>& currentShortcut() const { return currentShortcut_; }
    bool showingSafetyWarning() const { return showingSafetyWarning_; }
    const std::string& safetyWarningMessage() const { return safetyWarningMessage_; }

    // The button's action.
    void toggleRecording();
    void stopRecording();
    void cancelRecording();
    void reloadCurrentShortcut();
    void handleRecordingKeyDown(const GlobalShortcuts::KeyEvent& event);

    static ShortcutValidation validateShortcut(std::int64_t keyCode, GlobalShortcuts::ModifierFlags flags) {
        return zentaris::validateShortcut(keyCode, flags);
    }

    // What is on show, for the window and for tests.
    PlainButton* button() const { return button_; }
    QWidget* warningChip() const { return warningChip_; }
    const std::string& shownSymbol() const { return shownSymbol_; }
    QString shownText() const;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    bool anotherShortcutRecords() const;
    void onAppear();
    void onDisappear();
    void handleCancelNotification(const platform::Notification& notification);
    // Ends this recorder's own recording state; the slot is the caller's business.
    void endLocalRecording();
    void followWindowActivity(bool windowIsActive);
    void reportInvalidShortcut(std::string message);
    void showSafetyWarning(std::string message);
    void refresh();
    void buildInterface();

    std::string labelKey_;
    GlobalShortcuts::Name shortcutName_;
    bool isRecording_ = false;
    std::optional<GlobalShortcuts::Shortcut> currentShortcut_;
    std::unique_ptr<GlobalShortcuts::LocalEventMonitor> eventMonitor_;
    platform::ObservationToken hotKeysDown_;
    platform::ObservationToken cancellationObserver_;
    platform::ObservationToken resetObserver_;
    bool showingSafetyWarning_ = false;
    std::string safetyWarningMessage_;

    std::vector<platform::ObservationToken> slotObservers_;
    std::vector<platform::ScheduledTask> pendingWarnings_;
    std::string shownSymbol_;

    PlainButton* button_ = nullptr;
    QLabel* symbol_ = nullptr;
    QLabel* text_ = nullptr;
    QWidget* warningChip_ = nullptr;
    QLabel* warningText_ = nullptr;
};

} // namespace zentaris
