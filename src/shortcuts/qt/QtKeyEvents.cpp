#include "shortcuts/qt/QtKeyEvents.h"

#include "platform/KeyCodeTranslator.h"

namespace GlobalShortcuts {

ModifierFlags eventModifierFlags(Qt::KeyboardModifiers modifiers) {
    std::uint64_t flags = 0;
    if (modifiers & Qt::MetaModifier) flags |= ModifierFlags::command;
    if (modifiers & Qt::AltModifier) flags |= ModifierFlags::option;
    if (modifiers & Qt::ControlModifier) flags |= ModifierFlags::control;
    if (modifiers & Qt::ShiftModifier) flags |= ModifierFlags::shift;
    if (modifiers & Qt::KeypadModifier) flags |= ModifierFlags::numericPad;
    return ModifierFlags{flags};
}

bool isModifierKeyPress(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock: return true;
    default: return false;
    }
}

std::optional<KeyEvent> shortcutKeyEvent(const QKeyEvent& event) {
    if (isModifierKeyPress(event)) return std::nullopt;
    const auto keyCode = platform::KeyCodeTranslator::current().virtualKeyForNativeKey(event.nativeScanCode());
    if (!keyCode) return std::nullopt;
    const auto type = event.type() == QEvent::KeyRelease ? KeyEvent::keyUpType
                                                         : KeyEvent::keyDownType;
    return KeyEvent{type, static_cast<std::int64_t>(*keyCode), eventModifierFlags(event.modifiers())};
}

} // namespace GlobalShortcuts
