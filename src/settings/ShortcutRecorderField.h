#pragma once

#include "platform/ObservationToken.h"
#include "settings/LocalEventMonitor.h"
#include "shortcuts/Name.h"
#include "shortcuts/RecorderRules.h"

#include <QLineEdit>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace GlobalShortcuts {

inline constexpr const char* recorderActiveStatusDidChangeNotification = "GlobalShortcuts_recorderActiveStatusDidChange";

// The shortcut module's own recorder: a small search-field-like control that records one key
// combination for one name. A click into it starts recording; while it records no shortcut runs.
// Its texts come from the module's resource folder.
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

    QSize sizeHint() const override;

    // Decides one event while recording; true swallows it.
    bool handleRecordingEvent(QEvent* event);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void refreshStringValue();
    void startRecording();
    void endRecording();
    void giveUpFocus();
    void takeFocusBack();
    void store(const Shortcut& shortcut);
    void textDidChange(const QString& text);
    static void postActiveStatus(bool isActive);

    Name shortcutName_;
    OnChange onChange_;
    AlertPresenter presentAlert_;
    std::unique_ptr<zentaris::LocalEventMonitor> eventMonitor_;
    std::unique_ptr<RecordingHold> hold_;
    platform::ObservationToken shortcutsNameChangeObserver_;
};

} // namespace GlobalShortcuts
