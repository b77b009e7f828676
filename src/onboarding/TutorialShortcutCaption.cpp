#include "onboarding/TutorialShortcutCaption.h"

#include "app/ShortcutCaption.h"
#include "shortcuts/GlobalShortcuts.h"

namespace zentaris::tutorial {

std::string tutorialShortcutCaption(const GlobalShortcuts::Name& name, const std::string& standardCaption) {
    const auto stored = GlobalShortcuts::getShortcut(name);
    return stored ? menuCaption(*stored) : standardCaption;
}

} // namespace zentaris::tutorial
