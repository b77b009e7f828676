#include "onboarding/IntroductionView.h"

#include "onboarding/LineLimitedLabel.h"
#include "onboarding/LocalizedTexts.h"
#include "onboarding/PageHeader.h"
#include "onboarding/TutorialStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

struct ControlMethod {
    const char* icon;
    QColor (*color)();
    const char* titleKey;
    const char* descriptionKey;
};

constexpr ControlMethod controlMethods[] = {
    {"menubar.rectangle", SystemColors::blue, "onboarding_control_menubar_title", "onboarding_control_menubar_desc"},
    {"keyboard", SystemColors::purple, "onboarding_control_shortcuts_title", "onboarding_control_shortcuts_desc"},
    {"hand.draw.fill", SystemColors::green, "onboarding_control_drag_title", "onboarding_control_drag_desc"},
};

} // namespace

ControlMethodCard::ControlMethodCard(const std::string& icon, const QColor& iconColor, QWidget* parent)
    : RoundedPanel(SystemColors::controlBackground(), 10, parent) {
    auto* row = new QHBoxLayout(this);
    row->setSpacing(16);
    row->setContentsMargins(16, 16, 16, 16);
    auto* symbol = new SymbolLabel(icon, 36, iconColor);
    symbol->setFixedWidth(50);
    row->addWidget(symbol, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    title_ = makeLabel(textFont(18, QFont::DemiBold), SystemColors::primaryText());
    column->addWidget(title_);
    description_ = new LineLimitedLabel(2, Qt::AlignLeft | Qt::AlignTop);
    description_->setFont(textFont(15));
    description_->setTextColor(SystemColors::secondaryText());
    column->addWidget(description_);
    row->addLayout(column, 1);
}

void ControlMethodCard::setTexts(const QString& title, const QString& description) {
    title_->setText(title);
    description_->setText(description);
}

IntroductionView::IntroductionView(LanguageManager& languageManager, QWidget* parent) : QWidget(parent) {
    auto* texts = new LocalizedTexts(languageManager, this);
    auto* page = new QVBoxLayout(this);
    page->setSpacing(20);
    page->setContentsMargins(40, 20, 40, 20);
    page->addStretch(1);

    addPageHeader(page, *texts,
                  {"hand.tap.fill", 50, SystemColors::accent(), "onboarding_control_title", 28, "onboarding_control_subtitle", bodyFont(), 8});

    auto* cards = new QWidget;
    cards->setMaximumWidth(700);
    auto* cardColumn = new QVBoxLayout(cards);
    cardColumn->setSpacing(16);
    cardColumn->setContentsMargins(0, 0, 0, 0);
    for (const auto& method : controlMethods) {
        auto* card = new ControlMethodCard(method.icon, method.color());
        cardColumn->addWidget(card);
        texts->onRelabel([texts, card, method] { card->setTexts(texts->text(method.titleKey), texts->text(method.descriptionKey)); });
    }
    addCentered(page, cards, true);
    page->addStretch(1);
}

} // namespace zentaris
