#include "settings/LanguagePickerView.h"

#include "preferences/SupportedLanguages.h"

namespace zentaris {

LanguagePickerView::LanguagePickerView(Languages languages, std::string selectedLanguage,
                                       ChangeHandler onLanguageChange, QWidget* parent)
    : QComboBox(parent),
      languages_(std::move(languages)),
      selectedLanguage_(std::move(selectedLanguage)),
      onLanguageChange_(std::move(onLanguageChange)) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    fillPopup();
    connect(this, &QComboBox::activated, this, [this](int index) { selectionChanged(index); });
}

LanguagePickerView::Languages LanguagePickerView::supportedLanguageList() {
    Languages list;
    for (const auto& [code, name] : supportedLanguageTable) list.emplace_back(code, name);
    return list;
}

void LanguagePickerView::setLanguages(Languages languages, std::string selectedLanguage) {
    languages_ = std::move(languages);
    selectedLanguage_ = std::move(selectedLanguage);
    fillPopup();
}

void LanguagePickerView::fillPopup() {
    const QSignalBlocker quiet(this);
    clear();
    for (const auto& [code, name] : languages_) {
        addItem(QString::fromStdString(languageFlag(code) + "  " + name), QString::fromStdString(code));
    }
    for (std::size_t index = 0; index < languages_.size(); ++index) {
        if (languages_[index].first == selectedLanguage_) {
            setCurrentIndex(static_cast<int>(index));
            break;
        }
    }
}

void LanguagePickerView::selectionChanged(int index) {
    if (index < 0 || index >= count()) return;
    const QVariant code = itemData(index);
    if (code.typeId() != QMetaType::QString) return;
    if (onLanguageChange_) onLanguageChange_(code.toString().toStdString());
}

} // namespace zentaris
