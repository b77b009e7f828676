#include "app/ShortcutNames.h"

#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/Key.h"
#include "shortcuts/ModifierFlags.h"
#include "shortcuts/Shortcut.h"

#include <utility>

namespace zentaris {

namespace ShortcutNames {

#define ZENTARIS_SHORTCUT_NAME(identifier)                                                                             \
    const GlobalShortcuts::Name& identifier() {                                                                        \
        static const GlobalShortcuts::Name name(#identifier);                                                          \
        return name;                                                                                                   \
    }

ZENTARIS_SHORTCUT_NAME(leftColumn)
ZENTARIS_SHORTCUT_NAME(rightColumn)
ZENTARIS_SHORTCUT_NAME(upColumn)
ZENTARIS_SHORTCUT_NAME(downColumn)
ZENTARIS_SHORTCUT_NAME(centerColumn)
ZENTARIS_SHORTCUT_NAME(fullscreen)
ZENTARIS_SHORTCUT_NAME(topLeftQuarter)
ZENTARIS_SHORTCUT_NAME(topRightQuarter)
ZENTARIS_SHORTCUT_NAME(bottomLeftQuarter)
ZENTARIS_SHORTCUT_NAME(bottomRightQuarter)
ZENTARIS_SHORTCUT_NAME(splitVertical)
ZENTARIS_SHORTCUT_NAME(splitHorizontal)
ZENTARIS_SHORTCUT_NAME(split7030)
ZENTARIS_SHORTCUT_NAME(split3070)
ZENTARIS_SHORTCUT_NAME(threeColumns)
ZENTARIS_SHORTCUT_NAME(threeWindowTop)
ZENTARIS_SHORTCUT_NAME(threeWindowBottom)
ZENTARIS_SHORTCUT_NAME(threeWindowLeft)
ZENTARIS_SHORTCUT_NAME(threeWindowRight)
ZENTARIS_SHORTCUT_NAME(quartetMode)
ZENTARIS_SHORTCUT_NAME(moveToNextScreen)
ZENTARIS_SHORTCUT_NAME(moveToPreviousScreen)
ZENTARIS_SHORTCUT_NAME(swapWithNextScreen)
ZENTARIS_SHORTCUT_NAME(swapWithPreviousScreen)
ZENTARIS_SHORTCUT_NAME(toggleDragMode)

#undef ZENTARIS_SHORTCUT_NAME

const std::vector<GlobalShortcuts::Name>& all() {
    static const std::vector<GlobalShortcuts::Name> names{
        leftColumn(),      rightColumn(),        upColumn(),          downColumn(),
        centerColumn(),    fullscreen(),         topLeftQuarter(),    topRightQuarter(),
        bottomLeftQuarter(), bottomRightQuarter(), splitVertical(),   splitHorizontal(),
        split7030(),       split3070(),          threeColumns(),      threeWindowTop(),
        threeWindowBottom(), threeWindowLeft(),  threeWindowRight(),  quartetMode(),
        moveToNextScreen(), moveToPreviousScreen(), swapWithNextScreen(), swapWithPreviousScreen(),
        toggleDragMode()};
    return names;
}

const std::vector<GlobalShortcuts::Name>& namesWithDefaults() {
    static const std::vector<GlobalShortcuts::Name> names{
        leftColumn(),     rightColumn(),       upColumn(),         downColumn(),       centerColumn(),
        fullscreen(),     splitVertical(),     splitHorizontal(),  split7030(),        split3070(),
        threeColumns(),   threeWindowTop(),    threeWindowBottom(), threeWindowLeft(), threeWindowRight(),
        quartetMode(),    moveToNextScreen(),  moveToPreviousScreen(), swapWithNextScreen(),
        swapWithPreviousScreen(), toggleDragMode()};
    return names;
}

} // namespace ShortcutNames

namespace {

using GlobalShortcuts::Key;
using GlobalShortcuts::ModifierFlags;

// The default key combination of each name that has one, in the order they are stored.
const std::vector<std::pair<const GlobalShortcuts::Name*, GlobalShortcuts::Shortcut>>& defaultBindings() {
    using namespace ShortcutNames;
    const ModifierFlags optionCommand{ModifierFlags::option | ModifierFlags::command};
    const ModifierFlags shiftOptionCommand{ModifierFlags::shift | ModifierFlags::option | ModifierFlags::command};
    const ModifierFlags shiftCommand{ModifierFlags::shift | ModifierFlags::command};
    auto make = [](Key key, ModifierFlags flags) { return GlobalShortcuts::Shortcut::init(key, flags); };
    static const std::vector<std::pair<const GlobalShortcuts::Name*, GlobalShortcuts::Shortcut>> bindings{
        {&leftColumn(), make(Key::leftArrow, optionCommand)},
        {&rightColumn(), make(Key::rightArrow, optionCommand)},
        {&upColumn(), make(Key::upArrow, optionCommand)},
        {&downColumn(), make(Key::downArrow, optionCommand)},
        {&centerColumn(), make(Key::c, optionCommand)},
        {&fullscreen(), make(Key::f, optionCommand)},
        {&splitVertical(), make(Key::one, optionCommand)},
        {&splitHorizontal(), make(Key::two, optionCommand)},
        {&split7030(), make(Key::three, optionCommand)},
        {&split3070(), make(Key::four, optionCommand)},
        {&threeColumns(), make(Key::five, optionCommand)},
        {&threeWindowTop(), make(Key::six, optionCommand)},
        {&threeWindowBottom(), make(Key::seven, optionCommand)},
        {&threeWindowLeft(), make(Key::eight, optionCommand)},
        {&threeWindowRight(), make(Key::nine, optionCommand)},
        {&quartetMode(), make(Key::zero, optionCommand)},
        {&moveToNextScreen(), make(Key::rightArrow, shiftOptionCommand)},
        {&moveToPreviousScreen(), make(Key::leftArrow, shiftOptionCommand)},
        {&swapWithNextScreen(), make(Key::upArrow, shiftOptionCommand)},
        {&swapWithPreviousScreen(), make(Key::downArrow, shiftOptionCommand)},
        {&toggleDragMode(), make(Key::d, shiftCommand)},
    };
    return bindings;
}

} // namespace

void registerDefaultShortcuts() {
    for (const auto& [name, shortcut] : defaultBindings()) {
        if (!GlobalShortcuts::getShortcut(*name)) GlobalShortcuts::setDefaultShortcut(shortcut, *name);
    }
}

} // namespace zentaris
