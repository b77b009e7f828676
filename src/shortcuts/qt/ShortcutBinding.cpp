#include "shortcuts/qt/ShortcutBinding.h"

#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/qt/ShortcutKeySequence.h"

namespace GlobalShortcuts {

ShortcutBinding::ShortcutBinding(QObject& target, const char* kind, Name name, Apply apply, bool withdrawnWhileRecording)
    : name_(std::move(name)), apply_(std::move(apply)) {
    delete find(target, kind);
    setObjectName(QString::fromLatin1(kind));
    setParent(&target);
    auto& center = platform::NotificationCenter::defaultCenter();
    observers_.push_back(center.addObserver(shortcutByNameDidChangeNotification, [this](const platform::Notification& note) {
        if (!note.userInfo) return;
        const auto entry = note.userInfo->find("name");
        if (entry != note.userInfo->end() && entry->second == name_.rawValue) refresh();
    }));
    if (withdrawnWhileRecording) {
        observers_.push_back(
            center.addObserver(recorderActiveStatusDidChangeNotification, [this](const platform::Notification& note) {
                isRecorderActive_ = false;
                if (note.userInfo) {
                    const auto entry = note.userInfo->find("isActive");
                    isRecorderActive_ = entry != note.userInfo->end() && entry->second == "true";
                }
                refresh();
            }));
    }
    refresh();
}

ShortcutBinding* ShortcutBinding::find(QObject& target, const char* kind) {
    for (QObject* child : target.children()) {
        if (child->objectName() == QLatin1String(kind)) {
            if (auto* binding = dynamic_cast<ShortcutBinding*>(child)) return binding;
        }
    }
    return nullptr;
}

void ShortcutBinding::refresh() {
    if (isRecorderActive_) {
        apply_(QKeySequence());
        return;
    }
    const auto stored = getShortcut(name_);
    const auto sequence = stored ? keySequence(*stored) : std::nullopt;
    apply_(sequence.value_or(QKeySequence()));
}

} // namespace GlobalShortcuts
