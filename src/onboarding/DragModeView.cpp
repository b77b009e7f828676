#include "onboarding/DragModeView.h"

#include "onboarding/LocalizedTexts.h"
#include "onboarding/PageHeader.h"
#include "onboarding/OnboardingVideoPlayer.h"
#include "onboarding/TutorialStyle.h"
#include "views/SymbolImage.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

const char* modifierLabelKey(DragModeModifier modifier) {
    switch (modifier) {
    case DragModeModifier::none: return "drag_mode_modifier_none";
    case DragModeModifier::command: return "drag_mode_modifier_command";
    case DragModeModifier::shift: return "drag_mode_modifier_shift";
    }
    return "drag_mode_modifier_command";
}

constexpr const char* edgeArrows[] = {"←", "→", "↑", "↓"};
constexpr const char* cornerArrows[] = {"↖", "↗", "↙", "↘"};

const QSize filmFrame(480, 360);

QWidget* toggleNote(LocalizedTexts& texts) {
    auto* note = new RoundedPanel(withOpacity(SystemColors::green(), 0.1), 6);
    auto* layout = new QHBoxLayout(note);
    layout->setSpacing(6);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(new SymbolLabel("info.circle.fill", 11, SystemColors::green()), 0, Qt::AlignVCenter);
    layout->addWidget(texts.bind(makeLabel(textFont(10), SystemColors::secondaryText(), true), "onboarding_drag_mode_toggle_note"), 1);
    return note;
}

QWidget* zoneGroup(LocalizedTexts& texts, const char* captionKey, const char* const (&arrows)[4]) {
    auto* group = new QWidget;
    auto* layout = new QVBoxLayout(group);
    layout->setSpacing(4);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* caption = texts.bind(makeLabel(textFont(11, QFont::DemiBold), SystemColors::primaryText()), captionKey);
    caption->setAlignment(Qt::AlignCenter);
    layout->addWidget(caption);
    auto* tiles = new QHBoxLayout;
    tiles->setSpacing(4);
    for (const char* arrow : arrows) {
        auto* tile = new RoundedPanel(withOpacity(SystemColors::green(), 0.2), 4);
        tile->setFixedSize(24, 24);
        auto* tileLayout = new QHBoxLayout(tile);
        tileLayout->setContentsMargins(0, 0, 0, 0);
        auto* text = makeLabel(textFont(14), SystemColors::primaryText());
        text->setText(QString::fromUtf8(arrow));
        text->setAlignment(Qt::AlignCenter);
        tileLayout->addWidget(text);
        tiles->addWidget(tile);
    }
    layout->addLayout(tiles);
    return group;
}

RoundedPanel* settingsRow(const QColor& tint, const char* symbol) {
    auto* row = new RoundedPanel(withOpacity(tint, 0.1), 6);
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(8);
    layout->setContentsMargins(12, 6, 12, 6);
    auto* icon = new SymbolLabel(symbol, 13, tint);
    icon->setFixedWidth(20);
    layout->addWidget(icon, 0, Qt::AlignVCenter);
    return row;
}

} // namespace

DragModeStep::DragModeStep(const QString& number, QWidget* parent)
    : RoundedPanel(withOpacity(SystemColors::controlBackground(), 0.5), 8, parent) {
    auto* row = new QHBoxLayout(this);
    row->setSpacing(12);
    row->setContentsMargins(6, 6, 6, 6);
    auto* badge = new RoundedPanel(SystemColors::green(), 14);
    badge->setFixedSize(28, 28);
    auto* badgeLayout = new QHBoxLayout(badge);
    badgeLayout->setContentsMargins(0, 0, 0, 0);
    auto* digit = makeLabel(textFont(15, QFont::DemiBold), QColor(Qt::white));
    digit->setText(number);
    digit->setAlignment(Qt::AlignCenter);
    badgeLayout->addWidget(digit);
    row->addWidget(badge, 0, Qt::AlignVCenter);
    text_ = makeLabel(textFont(14), SystemColors::primaryText(), true);
    row->addWidget(text_, 1);
}

void DragModeStep::setText(const QString& text) { text_->setText(text); }

std::string DragModeView::modifierSymbol(DragModeModifier modifier) {
    switch (modifier) {
    case DragModeModifier::none: return "circle.dashed";
    case DragModeModifier::command: return "command";
    case DragModeModifier::shift: return "shift";
    }
    return "command";
}

DragModeView::DragModeView(LanguageManager& languageManager, ShortcutSettings& shortcutSettings, QWidget* parent)
    : QWidget(parent), shortcutSettings_(shortcutSettings) {
    auto* texts = new LocalizedTexts(languageManager, this);
    auto* page = new QVBoxLayout(this);
    page->setSpacing(12);
    // The film and the column (845) reach into the side padding of the 900-wide window.
    page->setContentsMargins(0, 15, 0, 15);

    addPageHeader(addPaddedSection(page, 40), *texts,
                  {"hand.draw.fill", 40, SystemColors::green(), "onboarding_drag_single_title", 24, "onboarding_drag_single_subtitle",
                   textFont(12), 4});

    auto* demonstration = new QHBoxLayout;
    demonstration->setSpacing(15);
    demonstration->addStretch(1);
    if (auto* film = makeTutorialFilm("drag_and_drop_demo", filmFrame, 12)) {
        demonstration->addWidget(film, 0, Qt::AlignVCenter);
        showsFilm_ = true;
    }
    auto* column = new QWidget;
    column->setFixedWidth(350);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setSpacing(8);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    auto* steps = new QVBoxLayout;
    steps->setSpacing(6);
    for (const char* number : {"1", "2", "3"}) {
        auto* step = new DragModeStep(QString::fromLatin1(number));
        steps->addWidget(step);
        texts->bind(step, std::string("onboarding_drag_mode_step") + number);
    }
    columnLayout->addLayout(steps);
    columnLayout->addWidget(toggleNote(*texts));
    auto* zones = new QHBoxLayout;
    zones->setSpacing(16);
    zones->addStretch(1);
    zones->addWidget(zoneGroup(*texts, "onboarding_drag_edges", edgeArrows));
    zones->addWidget(zoneGroup(*texts, "onboarding_drag_corners", cornerArrows));
    zones->addStretch(1);
    columnLayout->addLayout(zones);
    demonstration->addWidget(column, 0, Qt::AlignVCenter);
    demonstration->addStretch(1);
    page->addLayout(demonstration);

    auto* settingsBlock = new QWidget;
    settingsBlock->setMaximumWidth(600);
    auto* settingsLayout = new QVBoxLayout(settingsBlock);
    settingsLayout->setSpacing(6);
    settingsLayout->setContentsMargins(0, 0, 0, 0);

    auto* activation = settingsRow(SystemColors::blue(), "keyboard");
    auto* activationLayout = static_cast<QHBoxLayout*>(activation->layout());
    activationLayout->addWidget(texts->bind(makeLabel(textFont(12, QFont::Medium), SystemColors::primaryText()), "drag_mode_activation"));
    activationLayout->addStretch(1);
    picker_ = new QComboBox(activation);
    picker_->setFixedWidth(220);
    picker_->setFont(textFont(11));
    for (auto modifier : allDragModeModifiers) {
        picker_->addItem(symbolIcon(modifierSymbol(modifier), SystemColors::primaryText()), QString(), static_cast<int>(modifier));
    }
    activationLayout->addWidget(picker_, 0, Qt::AlignVCenter);
    settingsLayout->addWidget(activation);

    auto* rightButton = settingsRow(SystemColors::orange(), "computermouse.fill");
    auto* rightButtonLayout = static_cast<QHBoxLayout*>(rightButton->layout());
    rightButtonLayout->addWidget(texts->bind(makeLabel(textFont(12), SystemColors::secondaryText(), true), "onboarding_right_click_note"), 1);
    settingsLayout->addWidget(rightButton);
    addCentered(addPaddedSection(page, 40), settingsBlock, true);
    page->addStretch(1);

    texts->onRelabel([this, texts] {
        for (int index = 0; index < picker_->count(); ++index) {
            const auto modifier = static_cast<DragModeModifier>(picker_->itemData(index).toInt());
            picker_->setItemText(index, texts->text(modifierLabelKey(modifier)));
        }
    });
    QObject::connect(picker_, &QComboBox::activated, this, [this](int index) {
        shortcutSettings_.setDragModeModifier(static_cast<DragModeModifier>(picker_->itemData(index).toInt()));
    });
    modifierChanges_ = shortcutSettings_.dragModeModifierPublisher().subscribe([this](const DragModeModifier& modifier) {
        showModifier(modifier);
    });
}

void DragModeView::showModifier(DragModeModifier modifier) {
    picker_->setCurrentIndex(picker_->findData(static_cast<int>(modifier)));
}

} // namespace zentaris
