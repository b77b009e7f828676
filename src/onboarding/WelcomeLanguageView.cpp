#include "onboarding/WelcomeLanguageView.h"

#include "onboarding/LocalizedTexts.h"
#include "preferences/SupportedLanguages.h"
#include "onboarding/TutorialResources.h"
#include "onboarding/TutorialStyle.h"

#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

WelcomeLanguageView::WelcomeLanguageView(LanguageManager& languageManager, QWidget* parent)
    : QWidget(parent), languageManager_(languageManager), texts_(new LocalizedTexts(languageManager, this)) {
    auto* page = new QVBoxLayout(this);
    page->setSpacing(40);
    page->setContentsMargins(40, 20, 40, 20);
    page->addStretch(1);

    auto* header = new QVBoxLayout;
    header->setSpacing(20);
    if (auto* icon = makePicture("AppIcon", 120, 24, 0.1, 10, 5)) {
        icon->setFixedSize(120, 120);
        addCentered(header, icon);
    }
    auto* titles = new QVBoxLayout;
    titles->setSpacing(8);
    auto* title = texts_->bind(makeLabel(textFont(42, QFont::Bold), SystemColors::primaryText()), "onboarding_welcome_title");
    title->setAlignment(Qt::AlignCenter);
    titles->addWidget(title);
    auto* subtitle =
        texts_->bind(makeLabel(textFont(18), SystemColors::secondaryText(), true), "onboarding_welcome_subtitle");
    subtitle->setAlignment(Qt::AlignCenter);
    titles->addWidget(subtitle);
    header->addLayout(titles);
    page->addLayout(header);

    auto* card = new RoundedPanel(withOpacity(SystemColors::controlBackground(), 0.5), 12);
    auto* cardLayout = new QVBoxLayout(card);
    cardLayout->setSpacing(12);
    cardLayout->setContentsMargins(24, 24, 24, 24);
    auto* label = texts_->bind(makeLabel(textFont(16, QFont::DemiBold), SystemColors::primaryText()), "onboarding_choose_language");
    label->setAlignment(Qt::AlignCenter);
    cardLayout->addWidget(label);
    picker_ = new QComboBox(card);
    picker_->setFixedWidth(350);
    // Its width is fixed: measuring every entry would only load a font for each script of the
    // list, which stays loaded for the session, before anyone opens it.
    picker_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    picker_->setMinimumHeight(32); // the large control size
    picker_->setFont(textFont(14));
    for (const auto& language : supportedLanguages()) {
        picker_->addItem(QString::fromStdString(language.flag + " " + language.name), QString::fromStdString(language.code));
    }
    addCentered(cardLayout, picker_);
    addCentered(page, card);
    page->addStretch(1);

    QObject::connect(picker_, &QComboBox::activated, this, [this](int index) {
        languageManager_.setLanguage(picker_->itemData(index).toString().toStdString());
    });
    // Also follows a language chosen elsewhere, such as in the settings window.
    texts_->onRelabel([this] { showCurrentLanguage(); });
}

void WelcomeLanguageView::showCurrentLanguage() {
    // A language the table lacks shows no entry as chosen.
    picker_->setCurrentIndex(picker_->findData(QString::fromStdString(languageManager_.currentLanguage())));
}

} // namespace zentaris
