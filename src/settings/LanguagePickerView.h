#pragma once

#include <QComboBox>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zentaris {

// A pop-up list of interface languages, each item the language's flag and its own name. It knows
// nothing of the language manager: it shows the list it is given with one code selected, and
// reports the code the user chooses.
class LanguagePickerView : public QComboBox {
public:
    using Languages = std::vector<std::pair<std::string, std::string>>; // code, native name
    using ChangeHandler = std::function<void(const std::string& code)>;

    LanguagePickerView(Languages languages, std::string selectedLanguage, ChangeHandler onLanguageChange,
                       QWidget* parent = nullptr);

    // The interface languages in display order.
    static Languages supportedLanguageList();

    // Shows a new list and selection; the items are rebuilt from scratch.
    void setLanguages(Languages languages, std::string selectedLanguage);
    void fillPopup();
    // Reports the code of the item the user chose, also when it was already selected.
    void selectionChanged(int index);

    const Languages& languages() const { return languages_; }
    const std::string& selectedLanguage() const { return selectedLanguage_; }

private:
    Languages languages_;
    std::string selectedLanguage_;
    ChangeHandler onLanguageChange_;
};

} // namespace zentaris
