#include "onboarding/PageHeader.h"

#include "onboarding/LocalizedTexts.h"
#include "onboarding/TutorialStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris::tutorial {

void addPageHeader(QBoxLayout* page, LocalizedTexts& texts, const PageHeader& header) {
    auto* column = new QVBoxLayout;
    column->setSpacing(header.spacing);
    addCentered(column, new SymbolLabel(header.symbol, header.symbolSize, header.symbolColor));
    auto* title = texts.bind(makeLabel(textFont(header.titleSize, QFont::Bold), SystemColors::primaryText(), true), header.titleKey);
    title->setAlignment(Qt::AlignCenter);
    addCentered(column, title);
    auto* subtitle = texts.bind(makeLabel(header.subtitleFont, SystemColors::secondaryText(), true), header.subtitleKey);
    subtitle->setAlignment(Qt::AlignCenter);
    subtitle->setMaximumWidth(header.subtitleMaximumWidth);
    addCentered(column, subtitle);
    page->addLayout(column);
}

QWidget* makeTipBox(LocalizedTexts& texts, const TipBox& tip) {
    auto* box = new RoundedPanel(withOpacity(SystemColors::yellow(), 0.1), tip.cornerRadius);
    auto* layout = new QHBoxLayout(box);
    layout->setSpacing(tip.spacing);
    layout->setContentsMargins(tip.padding);
    auto* emoji = makeLabel(textFont(tip.emojiSize), SystemColors::primaryText());
    emoji->setText(tip.emoji);
    layout->addWidget(emoji, 0, Qt::AlignVCenter);
    layout->addWidget(texts.bind(makeLabel(textFont(11), SystemColors::secondaryText(), true), tip.key), 1);
    return box;
}

} // namespace zentaris::tutorial
