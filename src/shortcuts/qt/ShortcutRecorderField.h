#pragma once

#include "platform/ObservationToken.h"
#include "shortcuts/Name.h"
#include "shortcuts/RecorderRules.h"
#include "shortcuts/qt/LocalEventMonitor.h"

#include <QLineEdit>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace GlobalShortcuts {

// The shortcut module's own recorder: a small search-field-like control that records one key
// combination for one name. Only a click into it starts recording, never the window's own choice
// of a focus widget; recording ends when the focus or the window goes elsewhere. While it records
// no shortcut runs and the hot keys are down, so every combination reaches it. It shows nothing
// but the stored shortcut's caption: typed, pasted or dropped text never stays. Its texts come
// from the module's resource folder.
class ShortcutRecorderField : public QLineEdit {
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;

    struct Alert {
        std::string message;
        std::string informativeText;
        // Empty: the standard single button.
        std::vector<std::string> buttons;
    };
    // Shows an alert and answers its response code: 1000 for the first button, 1001 for the second.
    using AlertPresenter = std::function<int(QWidget* parent, const Alert& alert)>;

    static constexpr int minimumWidth = 130;

    ShortcutRecorderField(Name name, OnChange onChange = {}, QWidget* parent = nullptr);
    ~ShortcutRecorderField() override;

    const Name& shortcutName() const { return shortcutName_; }
    void setShortcutName(const Name& name);
    bool isRecording() const { return eventMonitor_ != nullptr; }
    void setAlertPresenter(AlertPresenter presenter) { presentAlert_ = std::move(presenter); }
    // The sound of a refused key; the system beep unless replaced.
    void setBeep(std::function<void()> beep) { beep_ = std::move(beep); }

    QSize sizeHint() const override;

    // Decides one event while recording; true swallows it.
    bool handleRecordingEvent(QEvent* event);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refreshStringValue();
    void showText(const QString& value);
    void startRecording();
    void endRecording();
    bool startsRecordingOnFocus(Qt::FocusReason reason) const;
    void refuse();
    void giveUpFocus();
    void takeFocusBack();
    void resumeAfterAlert();
    void store(const Shortcut& shortcut);
    void textDidChange(const QString& text);
    static void postActiveStatus(bool isActive);

    Name shortcutName_;
    OnChange onChange_;
    AlertPresenter presentAlert_;
    std::function<void()> beep_;
    std::unique_ptr<LocalEventMonitor> eventMonitor_;
    // Set while the field itself puts the stored shortcut's caption on show.
    bool isShowingStoredText_ = false;
    // Until then the next focus, however it comes, is the one taken back after an alert.
    std::optional<std::chrono::steady_clock::time_point> resumesAfterAlertUntil_;
    platform::ObservationToken hotKeysDown_;
    platform::ObservationToken shortcutsNameChangeObserver_;
};

} // namespace GlobalShortcuts
