#pragma once

#include "shortcuts/Name.h"

#include <vector>

// The program's named shortcuts, in declaration order, and their default key combinations.
namespace zentaris::ShortcutNames {

const GlobalShortcuts::Name& leftColumn();
const GlobalShortcuts::Name& rightColumn();
const GlobalShortcuts::Name& upColumn();
const GlobalShortcuts::Name& downColumn();
const GlobalShortcuts::Name& centerColumn();
const GlobalShortcuts::Name& fullscreen();
const GlobalShortcuts::Name& topLeftQuarter();
const GlobalShortcuts::Name& topRightQuarter();
const GlobalShortcuts::Name& bottomLeftQuarter();
const GlobalShortcuts::Name& bottomRightQuarter();
const GlobalShortcuts::Name& splitVertical();
const GlobalShortcuts::Name& splitHorizontal();
const GlobalShortcuts::Name& split7030();
const GlobalShortcuts::Name& split3070();
const GlobalShortcuts::Name& threeColumns();
const GlobalShortcuts::Name& threeWindowTop();
const GlobalShortcuts::Name& threeWindowBottom();
const GlobalShortcuts::Name& threeWindowLeft();
const GlobalShortcuts::Name& threeWindowRight();
const GlobalShortcuts::Name& quartetMode();
const GlobalShortcuts::Name& moveToNextScreen();
const GlobalShortcuts::Name& moveToPreviousScreen();
const GlobalShortcuts::Name& swapWithNextScreen();
const GlobalShortcuts::Name& swapWithPreviousScreen();
const GlobalShortcuts::Name& toggleDragMode();

// All 25 names in declaration order.
const std::vector<GlobalShortcuts::Name>& all();
// The 21 names that have a default, in the order they are visited.
const std::vector<GlobalShortcuts::Name>& namesWithDefaults();

} // namespace zentaris::ShortcutNames

namespace zentaris {
// Stores the default of every name that has one and no readable stored shortcut.
void registerDefaultShortcuts();
} // namespace zentaris
