#include "shortcuts/qt/ShortcutKeySequence.h"

#include "shortcuts/SpecialKey.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

namespace GlobalShortcuts {

namespace {

std::optional<int> qtKeyOfSpecialKey(SpecialKey key) {
    if (key >= SpecialKey::f1 && key <= SpecialKey::f20) {
        return Qt::Key_F1 + (static_cast<int>(key) - static_cast<int>(SpecialKey::f1));
    }
    switch (key) {
    case SpecialKey::return_: return Qt::Key_Return;
    case SpecialKey::delete_: return Qt::Key_Backspace;
    case SpecialKey::deleteForward: return Qt::Key_Delete;
    case SpecialKey::end: return Qt::Key_End;
    case SpecialKey::escape: return Qt::Key_Escape;
    case SpecialKey::help: return Qt::Key_Help;
    case SpecialKey::home: return Qt::Key_Home;
    case SpecialKey::space: return Qt::Key_Space;
    case SpecialKey::tab: return Qt::Key_Tab;
    case SpecialKey::pageUp: return Qt::Key_PageUp;
    case SpecialKey::pageDown: return Qt::Key_PageDown;
    case SpecialKey::upArrow: return Qt::Key_Up;
    case SpecialKey::rightArrow: return Qt::Key_Right;
    case SpecialKey::downArrow: return Qt::Key_Down;
    case SpecialKey::leftArrow: return Qt::Key_Left;
    default: return std::nullopt; // the keypad keys have no key equivalent
    }
}

// Qt names a character key by the code of its upper-case form.
std::optional<int> qtKeyOfCharacter(const std::string& character) {
    const auto scalars = QString::fromStdString(character).toUpper().toUcs4();
    if (scalars.size() != 1) return std::nullopt;
    return static_cast<int>(scalars.front());
}

Qt::KeyboardModifiers qtModifiers(const ModifierFlags& flags) {
    Qt::KeyboardModifiers modifiers;
    if (flags.contains(ModifierFlags::command)) modifiers |= Qt::MetaModifier;
    if (flags.contains(ModifierFlags::option)) modifiers |= Qt::AltModifier;
    if (flags.contains(ModifierFlags::control)) modifiers |= Qt::ControlModifier;
    if (flags.contains(ModifierFlags::shift)) modifiers |= Qt::ShiftModifier;
    return modifiers;
}

} // namespace

std::optional<QKeySequence> keySequence(const Shortcut& shortcut) {
    const auto flags = shortcut.modifiers();
    if (flags.contains(ModifierFlags::function)) return std::nullopt;
    const auto equivalent = shortcut.keyEquivalent();
    if (!equivalent) return std::nullopt;
    const auto special = specialKeyForKeyCode(shortcut.carbonKeyCode);
    const auto key = special ? qtKeyOfSpecialKey(*special) : qtKeyOfCharacter(*equivalent);
    if (!key) return std::nullopt;
    return QKeySequence(QKeyCombination(qtModifiers(flags), static_cast<Qt::Key>(*key)));
}

QAction* menuItemWithMatchingShortcut(const Shortcut& shortcut, const QList<QAction*>& items) {
    const auto sequence = keySequence(shortcut);
    if (!sequence) return nullptr;
    for (QAction* item : items) {
        if (item->shortcuts().contains(*sequence)) return item;
        if (QMenu* submenu = item->menu()) {
            if (QAction* found = menuItemWithMatchingShortcut(shortcut, submenu->actions())) return found;
        }
    }
    return nullptr;
}

QAction* menuItemWithMatchingShortcut(const Shortcut& shortcut, const QMenu& menu) {
    return menuItemWithMatchingShortcut(shortcut, menu.actions());
}

QAction* applicationMenuItemWithMatchingShortcut(const Shortcut& shortcut) {
    const auto windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows) {
        for (auto* bar : window->findChildren<QMenuBar*>()) {
            if (QAction* found = menuItemWithMatchingShortcut(shortcut, bar->actions())) return found;
        }
    }
    for (QWidget* window : windows) {
        auto* menu = qobject_cast<QMenu*>(window);
        if (!menu) continue;
        if (QAction* found = menuItemWithMatchingShortcut(shortcut, *menu)) return found;
    }
    return nullptr;
}

} // namespace GlobalShortcuts
