#pragma once

#include "platform/ObservationToken.h"
#include "shortcuts/Name.h"

#include <QKeySequence>
#include <QObject>

#include <functional>
#include <vector>

namespace GlobalShortcuts {

// Keeps a key sequence of a Qt object equal to a name's stored shortcut: applied at once and
// again whenever that name's shortcut is stored or cleared. Lives as a child of the object it
// serves, so it ends with it; a second binding of the same kind on the object replaces the first.
class ShortcutBinding : public QObject {
public:
    using Apply = std::function<void(const QKeySequence&)>;

    // `withdrawnWhileRecording`: no key sequence while any recorder of the module records.
    ShortcutBinding(QObject& target, const char* kind, Name name, Apply apply, bool withdrawnWhileRecording);

    const Name& name() const { return name_; }

    // The binding of this kind on the object, if any.
    static ShortcutBinding* find(QObject& target, const char* kind);

private:
    void refresh();

    Name name_;
    Apply apply_;
    bool isRecorderActive_ = false;
    std::vector<platform::ObservationToken> observers_;
};

} // namespace GlobalShortcuts
