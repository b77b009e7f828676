#include "onboarding/MenuBarView.h"

#include "onboarding/LayoutDiagram.h"
#include "onboarding/LocalizedTexts.h"
#include "onboarding/PageHeader.h"
#include "onboarding/TutorialResources.h"
#include "onboarding/TutorialStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

struct LayoutExample {
    int columns;
    int rows;
    std::vector<QColor> colors;
    const char* titleKey;
    const char* descriptionKey;
};

std::vector<LayoutExample> layoutExamples() {
    return {
        {2, 1, {SystemColors::blue(), SystemColors::green()}, "onboarding_menubar_2window", "onboarding_menubar_2window_desc"},
        {3, 1, {SystemColors::orange(), SystemColors::blue(), SystemColors::orange()}, "onboarding_menubar_3window", "onboarding_menubar_3window_desc"},
        {2, 2, {SystemColors::red(), SystemColors::green(), SystemColors::blue(), SystemColors::purple()}, "onboarding_menubar_4window",
         "onboarding_menubar_4window_desc"},
    };
}

QWidget* exampleRow(LocalizedTexts& texts, const LayoutExample& example) {
    auto* row = new RoundedPanel(SystemColors::controlBackground(), 8);
    auto* layout = new QHBoxLayout(row);
    layout->setSpacing(12);
    layout->setContentsMargins(8, 8, 8, 8);
    auto* diagram = new LayoutDiagram(example.columns, example.rows, example.colors);
    diagram->setFixedSize(70, 40);
    layout->addWidget(diagram, 0, Qt::AlignVCenter);
    auto* column = new QVBoxLayout;
    column->setSpacing(2);
    column->addWidget(texts.bind(makeLabel(textFont(14, QFont::DemiBold), SystemColors::primaryText()), example.titleKey));
    column->addWidget(texts.bind(makeLabel(textFont(12), SystemColors::secondaryText(), true), example.descriptionKey));
    layout->addLayout(column, 1);
    return row;
}

} // namespace

MenuBarView::MenuBarView(LanguageManager& languageManager, QWidget* parent) : QWidget(parent) {
    auto* texts = new LocalizedTexts(languageManager, this);
    auto* page = new QVBoxLayout(this);
    page->setSpacing(15);
    // The picture and the column (870) reach into the side padding of the 900-wide window.
    page->setContentsMargins(0, 20, 0, 20);

    addPageHeader(addPaddedSection(page, 40), *texts,
                  {"menubar.rectangle", 50, SystemColors::blue(), "onboarding_menubar_title", 28, "onboarding_menubar_subtitle", bodyFont(), 8});

    auto* content = new QHBoxLayout;
    content->setSpacing(20);
    content->addStretch(1);
    if (auto* picture = makePicture("menubar_demo", 500, 12, 0.15, 10, 4)) {
        content->addWidget(picture, 0, Qt::AlignVCenter);
        showsPicture_ = true;
    }
    auto* column = new QWidget;
    column->setFixedWidth(350);
    auto* columnLayout = new QVBoxLayout(column);
    columnLayout->setSpacing(10);
    columnLayout->setContentsMargins(0, 0, 0, 0);
    auto* examples = new QVBoxLayout;
    examples->setSpacing(8);
    for (const auto& example : layoutExamples()) examples->addWidget(exampleRow(*texts, example));
    columnLayout->addLayout(examples);
    columnLayout->addWidget(
        makeTipBox(*texts, {QStringLiteral("\U0001F4A1"), 14, "onboarding_menubar_tip", QMargins(8, 8, 8, 8), 6, 6}));
    content->addWidget(column, 0, Qt::AlignVCenter);
    content->addStretch(1);
    page->addLayout(content);
    page->addStretch(1);
}

} // namespace zentaris
