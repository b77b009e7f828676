#include "onboarding/ShortcutsView.h"

#include "onboarding/LineLimitedLabel.h"
#include "onboarding/LocalizedTexts.h"
#include "onboarding/PageHeader.h"
#include "onboarding/OnboardingVideoPlayer.h"
#include "onboarding/TutorialStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

// The captions are fixed: the tour teaches the standard keys, whatever the user has recorded.
struct TourShortcut {
    const char* caption;
    const char* descriptionKey;
    const char* hintKey;
};

const TourShortcut arrowShortcuts[] = {
    {"⌘⌥ ←", "onboarding_shortcuts_left", "onboarding_shortcuts_left_hint"},
    {"⌘⌥ →", "onboarding_shortcuts_right", "onboarding_shortcuts_right_hint"},
    {"⌘⌥ ↑", "onboarding_shortcuts_top", "onboarding_shortcuts_top_hint"},
    {"⌘⌥ ↓", "onboarding_shortcuts_bottom", "onboarding_shortcuts_bottom_hint"},
};
const TourShortcut otherShortcuts[] = {
    {"⌘⌥ F", "onboarding_shortcuts_fullscreen", "onboarding_shortcuts_fullscreen_hint"},
    {"⌘⌥ C", "onboarding_shortcuts_center", "onboarding_shortcuts_center_hint"},
};

struct Quarter {
    const char* arrow;
    const char* label;
};
constexpr Quarter quarters[] = {{"↖", "Top-Left"}, {"↗", "Top-Right"}, {"↙", "Bottom-Left"}, {"↘", "Bottom-Right"}};

constexpr int columnWidth = 365;
// Rows and page are a little tighter than the other pages, so that the whole page fits the
// tutorial window in every language at the default font; larger fonts scroll.
constexpr int rowPadding = 4;
constexpr int pageTopPadding = 12;
constexpr int headerSpacing = 10;
// Enough that no description or hint is ever cut at a readable size.
constexpr int maximumDescriptionLines = 3;
constexpr int maximumHintLines = 6;
const QSize filmFrame(500, 375);

QWidget* quartersBox(LocalizedTexts& texts) {
    auto* box = new RoundedPanel(withOpacity(SystemColors::controlBackground(), 0.5), 8);
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(6);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* title = texts.bind(makeLabel(textFont(13, QFont::DemiBold), SystemColors::primaryText()), "onboarding_shortcuts_quarters_title");
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    auto* description =
        texts.bind(makeLabel(textFont(11), SystemColors::secondaryText(), true), "onboarding_shortcuts_quarters_description");
    description->setAlignment(Qt::AlignCenter);
    layout->addWidget(description);
    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(6);
    for (const auto& quarter : quarters) {
        tiles->addWidget(new QuarterShortcut(QString::fromUtf8(quarter.arrow), QString::fromUtf8(quarter.label)), 1);
    }
    layout->addLayout(tiles);
    return box;
}

} // namespace

ShortcutRow::ShortcutRow(const QString& keys, QWidget* parent)
    : RoundedPanel(withOpacity(SystemColors::controlBackground(), 0.5), 8, parent) {
    auto* row = new QHBoxLayout(this);
    row->setSpacing(12);
    row->setContentsMargins(6, rowPadding, 6, rowPadding);

    // The purple badge covers only the caption; the slot keeps the text columns lined up.
    auto* slot = new QWidget;
    slot->setMinimumWidth(80);
    auto* slotLayout = new QHBoxLayout(slot);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    auto* badge = new RoundedPanel(withOpacity(SystemColors::purple(), 0.9), 6);
    auto* badgeLayout = new QHBoxLayout(badge);
    badgeLayout->setContentsMargins(12, 8, 12, 8);
    keys_ = makeLabel(bodyFont(QFont::DemiBold, true), QColor(Qt::white));
    keys_->setText(keys);
    badgeLayout->addWidget(keys_);
    slotLayout->addWidget(badge, 0, Qt::AlignCenter);
    row->addWidget(slot, 0, Qt::AlignVCenter);

    // Lines are spaced by the row's own font, also where another font draws the glyphs (Chinese,
    // Japanese, Korean), whose taller line boxes would make the six rows outgrow the window.
    auto* column = new QVBoxLayout;
    column->setSpacing(0);
    column->addStretch(1);
    description_ = new LineLimitedLabel(maximumDescriptionLines, Qt::AlignLeft | Qt::AlignVCenter);
    description_->setFont(textFont(15));
    description_->setTextColor(SystemColors::primaryText());
    column->addWidget(description_);
    hint_ = new LineLimitedLabel(maximumHintLines, Qt::AlignLeft | Qt::AlignVCenter);
    hint_->setFont(textFont(12));
    hint_->setTextColor(SystemColors::secondaryText());
    column->addWidget(hint_);
    column->addStretch(1);
    row->addLayout(column, 1);
}

void ShortcutRow::setTexts(const QString& description, const QString& hint) {
    description_->setText(description);
    hint_->setText(hint);
}

QString ShortcutRow::keys() const { return keys_->text(); }

QuarterShortcut::QuarterShortcut(const QString& arrows, const QString& label, QWidget* parent)
    : RoundedPanel(withOpacity(SystemColors::purple(), 0.1), 6, parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(4);
    layout->setContentsMargins(0, 6, 0, 6);
    auto* arrow = makeLabel(textFont(20), SystemColors::purple());
    arrow->setText(arrows);
    arrow->setAlignment(Qt::AlignCenter);
    layout->addWidget(arrow);
    auto* name = makeLabel(textFont(10), SystemColors::secondaryText());
    name->setText(label);
    name->setAlignment(Qt::AlignCenter);
    layout->addWidget(name);
}

ShortcutsView::ShortcutsView(LanguageManager& languageManager, QWidget* parent) : QWidget(parent) {
    auto* texts = new LocalizedTexts(languageManager, this);
    auto* page = new QVBoxLayout(this);
    page->setSpacing(headerSpacing);
    // The film and the column (880) reach into the side padding of the 900-wide window. Below
    // the rows the flexible space and the navigation bar's own padding keep them apart from the bar.
    page->setContentsMargins(0, pageTopPadding, 0, 0);

    addPageHeader(addPaddedSection(page, 40), *texts,
                  {"keyboard", 50, SystemColors::purple(), "onboarding_shortcuts_single_title", 28, "onboarding_shortcuts_single_subtitle",
                   bodyFont(), 8});

    auto* content = new QHBoxLayout;
    content->setSpacing(15);
    content->addStretch(1);
    if (auto* film = makeTutorialFilm("shortcut_demo", filmFrame, 12)) {
        content->addWidget(film, 0, Qt::AlignVCenter);
        showsFilm_ = true;
    }
    auto* column = new QWidget;
    column->setFixedWidth(columnWidth);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setSpacing(8);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    auto addRows = [&](const auto& shortcuts) {
        auto* group = new QVBoxLayout;
        group->setSpacing(6);
        for (const auto& shortcut : shortcuts) {
            auto* row = new ShortcutRow(QString::fromUtf8(shortcut.caption));
            group->addWidget(row);
            rows_.push_back(row);
            texts->onRelabel([texts, row, shortcut] { row->setTexts(texts->text(shortcut.descriptionKey), texts->text(shortcut.hintKey)); });
        }
        columnLayout->addLayout(group);
    };
    addRows(arrowShortcuts);
    columnLayout->addWidget(quartersBox(*texts));
    addRows(otherShortcuts);
    content->addWidget(column, 0, Qt::AlignVCenter);
    content->addStretch(1);
    page->addLayout(content);
    page->addStretch(1);
}

} // namespace zentaris
