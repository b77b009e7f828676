#include "shortcuts/qt/ShortcutConveniences.h"

#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/qt/ShortcutBinding.h"
#include "shortcuts/qt/ShortcutKeySequence.h"

#include <QAbstractButton>
#include <QAction>
#include <QShortcut>

namespace GlobalShortcuts {

namespace {

constexpr const char* viewBindingKind = "GlobalShortcuts.keyboardShortcut";
constexpr const char* menuItemBindingKind = "GlobalShortcuts.menuItemShortcut";

// Holds an event subscription for as long as its parent lives.
class EventSubscription : public QObject {
public:
    EventSubscription(QObject& context, platform::ObservationToken token) : QObject(&context), token_(std::move(token)) {}

private:
    platform::ObservationToken token_;
};

} // namespace

void globalKeyboardShortcut(QAction& action, const Name& name) {
    new ShortcutBinding(action, viewBindingKind, name, [&action](const QKeySequence& keys) { action.setShortcut(keys); }, true);
}

void globalKeyboardShortcut(QAbstractButton& button, const Name& name) {
    new ShortcutBinding(button, viewBindingKind, name, [&button](const QKeySequence& keys) { button.setShortcut(keys); }, true);
}

void globalKeyboardShortcut(QShortcut& shortcut, const Name& name) {
    new ShortcutBinding(shortcut, viewBindingKind, name, [&shortcut](const QKeySequence& keys) { shortcut.setKey(keys); }, true);
}

void bindShortcut(QAction& item, const std::optional<Name>& name) {
    if (!name) {
        delete ShortcutBinding::find(item, menuItemBindingKind);
        item.setShortcut(QKeySequence());
        return;
    }
    new ShortcutBinding(item, menuItemBindingKind, *name, [&item](const QKeySequence& keys) { item.setShortcut(keys); }, false);
}

void setShortcut(QAction& item, const std::optional<Shortcut>& shortcut) {
    const auto sequence = shortcut ? keySequence(*shortcut) : std::nullopt;
    item.setShortcut(sequence.value_or(QKeySequence()));
}

void onKeyboardShortcut(QObject& context, const Name& name, std::function<void(EventType)> action) {
    new EventSubscription(context, events(name, std::move(action)));
}

void onKeyboardShortcut(QObject& context, const Name& name, EventType type, std::function<void()> action) {
    new EventSubscription(context, events(type, name, std::move(action)));
}

} // namespace GlobalShortcuts
