#include "onboarding/CompletionView.h"

#include "onboarding/LineLimitedLabel.h"
#include "onboarding/LocalizedTexts.h"
#include "onboarding/PageHeader.h"
#include "onboarding/TutorialStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

struct Badge {
    const char* icon;
    QColor (*color)();
    const char* labelKey;
};

constexpr Badge waysOfControl[] = {
    {"menubar.rectangle", SystemColors::blue, "onboarding_control_menubar_title"},
    {"keyboard", SystemColors::purple, "onboarding_control_shortcuts_title"},
    {"hand.draw.fill", SystemColors::green, "onboarding_control_drag_title"},
};
constexpr Badge features[] = {
    {"rectangle.split.2x1", SystemColors::orange, "feature_multi_window"},
    {"display.2", SystemColors::cyan, "feature_multi_monitor"},
    {"gearshape.fill", SystemColors::gray, "feature_customizable"},
};

} // namespace

FeatureSummaryBadge::FeatureSummaryBadge(const std::string& icon, const QColor& iconColor, QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(12);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* disc = new RoundedPanel(withOpacity(iconColor, 0.15), 40);
    disc->setFixedSize(80, 80);
    auto* discLayout = new QHBoxLayout(disc);
    discLayout->setContentsMargins(0, 0, 0, 0);
    discLayout->addWidget(new SymbolLabel(icon, 32, iconColor), 0, Qt::AlignCenter);
    layout->addWidget(disc, 0, Qt::AlignHCenter);
    label_ = new LineLimitedLabel(2, Qt::AlignHCenter | Qt::AlignVCenter);
    label_->setFont(textFont(14, QFont::Medium));
    label_->setTextColor(SystemColors::primaryText());
    label_->setFixedSize(120, 36);
    layout->addWidget(label_, 0, Qt::AlignHCenter);
}

void FeatureSummaryBadge::setLabel(const QString& label) { label_->setText(label); }

CompletionView::CompletionView(LanguageManager& languageManager, QWidget* parent) : QWidget(parent) {
    auto* texts = new LocalizedTexts(languageManager, this);
    auto* page = new QVBoxLayout(this);
    page->setSpacing(24);
    page->setContentsMargins(40, 20, 40, 20);
    page->addStretch(1);

    addPageHeader(page, *texts,
                  {"checkmark.circle.fill", 70, SystemColors::green(), "onboarding_completion_title", 32, "onboarding_completion_subtitle",
                   textFont(15), 12, 550});

    auto* badges = new QVBoxLayout;
    badges->setSpacing(16);
    badges->setContentsMargins(0, 12, 0, 12);
    for (const auto& row : {std::begin(waysOfControl), std::begin(features)}) {
        auto* rowLayout = new QHBoxLayout;
        rowLayout->setSpacing(40);
        rowLayout->addStretch(1);
        for (const Badge* badge = row; badge != row + 3; ++badge) {
            auto* view = new FeatureSummaryBadge(badge->icon, badge->color());
            rowLayout->addWidget(view);
            texts->onRelabel([texts, view, key = badge->labelKey] { view->setLabel(texts->text(key)); });
        }
        rowLayout->addStretch(1);
        badges->addLayout(rowLayout);
    }
    page->addLayout(badges);

    auto* hint = new RoundedPanel(withOpacity(SystemColors::controlBackground(), 0.5), 6);
    auto* hintLayout = new QHBoxLayout(hint);
    hintLayout->setSpacing(6);
    hintLayout->setContentsMargins(16, 8, 16, 8);
    hintLayout->addWidget(new SymbolLabel("info.circle", 11, SystemColors::secondaryText()), 0, Qt::AlignVCenter);
    hintLayout->addWidget(texts->bind(makeLabel(textFont(11), SystemColors::secondaryText(), true), "onboarding_completion_hint"), 1);
    addCentered(page, hint);
    page->addStretch(1);
}

} // namespace zentaris
