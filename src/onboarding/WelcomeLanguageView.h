#pragma once

#include "preferences/LanguageManager.h"

#include <QComboBox>
#include <QWidget>

namespace zentaris {

namespace tutorial {
class LocalizedTexts;
}

// The tutorial's first page: the greeting and the choice of the interface language, which takes
// effect at once everywhere.
class WelcomeLanguageView : public QWidget {
public:
    explicit WelcomeLanguageView(LanguageManager& languageManager, QWidget* parent = nullptr);

    QComboBox* languagePicker() const { return picker_; }

private:
    void showCurrentLanguage();

    LanguageManager& languageManager_;
    tutorial::LocalizedTexts* texts_;
    QComboBox* picker_;
};

} // namespace zentaris
