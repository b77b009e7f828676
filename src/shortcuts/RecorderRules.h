#pragma once

// What the module's recorder control does with a key press while it records: which combinations
// it refuses and why, and which it stores.

#include "shortcuts/Name.h"
#include "shortcuts/Shortcut.h"

#include <optional>
#include <string>

namespace GlobalShortcuts {

class Registry;

// No modifier at all; Caps Lock and the numeric-pad flag do not count.
bool isWithoutModifiers(ModifierFlags flags);
// None of Command, Option, Control; Shift and Function do not count either.
bool isWithoutStrongModifiers(ModifierFlags flags);
// F1 and up: the only keys that may be recorded without a strong modifier.
bool isFunctionKey(std::int64_t keyCode);

enum class RecorderKeyOutcome {
    endRecordingAndPass,  // Tab: focus moves on, the key goes through
    endRecording,         // Escape: the previous shortcut stays
    clear,                // Delete keys: the stored shortcut is removed
    refuse,               // a beep: no strong modifier, or nothing to make a shortcut of
    usedByOtherName,      // another name already holds the combination
    usedBySystem,         // the desktop or another program holds it; may be forced
    store,
};

struct RecorderKeyDecision {
    RecorderKeyOutcome outcome;
    std::optional<Shortcut> shortcut;
    // The raw name that holds the combination, for usedByOtherName.
    std::string conflictingName;
};

// Held while a recorder records: no shortcut runs, and the hot keys are taken down so that every
// combination, the ones this program uses included, reaches the recorder's window instead of the
// system-wide grab. Dropping it puts both back as they were.
class RecordingHold {
public:
    explicit RecordingHold(Registry& registry);
    ~RecordingHold();
    RecordingHold(const RecordingHold&) = delete;
    RecordingHold& operator=(const RecordingHold&) = delete;

private:
    Registry& registry_;
    bool wasEnabled_;
    bool wasPaused_;
};

// Decides one key event for the recorder of `name`, in the order the control applies its rules.
RecorderKeyDecision decideRecordingKey(const KeyEvent& event, const Name& name, Registry& registry);

} // namespace GlobalShortcuts
