#pragma once

#include <Qt>

#include <string>

class QObject;

namespace zentaris {

// Right to left for the languages written that way (Arabic, Hebrew), else left to right.
Qt::LayoutDirection layoutDirectionForLanguage(const std::string& languageCode);

// Lays the whole interface out in the direction of the interface language, now and after every
// change of language while `owner` lives: pages, rows, sidebars and menus mirror for a
// right-to-left language.
void followInterfaceLanguageDirection(QObject* owner);

} // namespace zentaris
