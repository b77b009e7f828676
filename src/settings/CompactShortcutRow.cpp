#include "settings/CompactShortcutRow.h"

#include "preferences/AppStyle.h"
#include "preferences/ShortcutSettings.h"
#include "settings/DeferredRefresh.h"
#include "settings/LocalizedShortcutRecorder.h"
#include "settings/SettingsWidgets.h"
#include "settings/SwitchToggle.h"

#include <QHBoxLayout>

namespace zentaris {

CompactShortcutRow::CompactShortcutRow(std::string labelKey, GlobalShortcuts::Name shortcutName,
                                       ShortcutSettings& shortcutSettings, QWidget* parent)
    : ShortcutRowFrame(parent), labelKey_(std::move(labelKey)), shortcutName_(std::move(shortcutName)),
      shortcutSettings_(shortcutSettings) {
    switch_ = new SwitchToggle(this);
    // The small switch of a row, beside the full-size one of the page.
    switch_->setFixedSize(30, 18);
    connect(switch_, &QAbstractButton::clicked, this, [this](bool on) { setShortcutEnabled(on); });
    rowLayout()->addWidget(switch_);

    auto* label = new LocalizedText(labelKey_, AppStyle::bodyFont());
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    rowLayout()->addWidget(label, 1);

    recorder_ = new LocalizedShortcutRecorder(labelKey_, shortcutName_, this);
    rowLayout()->addWidget(recorder_);

    // The settings announce a change before it is made; the switch reads them once it is.
    auto* refresher = new DeferredRefresh(this, [this] { refresh(); });
    refresher->watch(shortcutSettings_.objectWillChange());
    observers_.push_back(
        shortcutSettings_.shortcutsEnabledPublisher().subscribe([refresher](const bool&) { refresher->schedule(); }, false));
    refresh();
}

bool CompactShortcutRow::isShortcutEnabled() const { return shortcutSettings_.individualState(shortcutName_.rawValue); }

void CompactShortcutRow::setShortcutEnabled(bool enabled) {
    // Stores the entry, saves the map (which announces it) and tells every observer to redraw.
    shortcutSettings_.setIndividualState(shortcutName_.rawValue, enabled);
    refresh();
}

void CompactShortcutRow::refresh() {
    const QSignalBlocker quiet(switch_);
    switch_->setChecked(isShortcutEnabled());
    switch_->setEnabled(shortcutSettings_.shortcutsEnabled());
}

} // namespace zentaris
