#pragma once

#include "preferences/LanguageManager.h"

#include <QWidget>

namespace zentaris {

// The tutorial's third page: the status menu's picture beside three examples of multi-window
// layouts and a tip.
class MenuBarView : public QWidget {
public:
    explicit MenuBarView(LanguageManager& languageManager, QWidget* parent = nullptr);

    // Whether the picture of the menu is shown (it is left out when the program lacks it).
    bool showsPicture() const { return showsPicture_; }

private:
    bool showsPicture_ = false;
};

} // namespace zentaris
