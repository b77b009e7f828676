#pragma once

#include "platform/ObservationToken.h"
#include "onboarding/TutorialStyle.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"

#include <QComboBox>
#include <QLabel>
#include <QWidget>

#include <string>

namespace zentaris {

// One numbered step: a green badge with the number and the step's text, wrapping as needed.
class DragModeStep : public tutorial::RoundedPanel {
public:
    DragModeStep(const QString& number, QWidget* parent = nullptr);
    void setText(const QString& text);

private:
    QLabel* text_;
};

// The tutorial's fifth page: drag-to-snap in steps, its drop zones, and the modifier key that
// arms a drag, which is stored the moment it is picked.
class DragModeView : public QWidget {
public:
    DragModeView(LanguageManager& languageManager, ShortcutSettings& shortcutSettings, QWidget* parent = nullptr);

    static std::string modifierSymbol(DragModeModifier modifier);
    QComboBox* modifierPicker() const { return picker_; }
    bool showsFilm() const { return showsFilm_; }

private:
    void showModifier(DragModeModifier modifier);

    ShortcutSettings& shortcutSettings_;
    QComboBox* picker_;
    bool showsFilm_ = false;
    platform::ObservationToken modifierChanges_;
};

} // namespace zentaris
