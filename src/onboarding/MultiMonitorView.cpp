#include "onboarding/MultiMonitorView.h"

#include "onboarding/LineLimitedLabel.h"
#include "onboarding/LocalizedTexts.h"
#include "onboarding/PageHeader.h"
#include "onboarding/TutorialResources.h"
#include "onboarding/TutorialStyle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

using namespace tutorial;

namespace {

// The captions are fixed: the page teaches the standard keys, whatever the user has recorded.
struct ScreenShortcut {
    const char* caption;
    const char* descriptionKey;
};

// Row by row, left to right.
const ScreenShortcut screenShortcuts[] = {
    {"⌘⌥⇧ ←", "onboarding_multi_monitor_previous"},
    {"⌘⌥⇧ →", "onboarding_multi_monitor_next"},
    {"⌘⌥⇧ ↓", "onboarding_multi_monitor_swap_previous"},
    {"⌘⌥⇧ ↑", "onboarding_multi_monitor_swap_next"},
};

} // namespace

MultiMonitorShortcut::MultiMonitorShortcut(const QString& keys, QWidget* parent)
    : RoundedPanel(withOpacity(SystemColors::controlBackground(), 0.5), 7, parent) {
    auto* row = new QHBoxLayout(this);
    row->setSpacing(10);
    row->setContentsMargins(8, 8, 8, 8);
    auto* badge = new RoundedPanel(withOpacity(SystemColors::accent(), 0.9), 5);
    badge->setMinimumWidth(90);
    auto* badgeLayout = new QHBoxLayout(badge);
    badgeLayout->setContentsMargins(12, 8, 12, 8);
    keys_ = makeLabel(textFont(13, QFont::DemiBold, true), QColor(Qt::white));
    keys_->setText(keys);
    keys_->setAlignment(Qt::AlignCenter);
    badgeLayout->addWidget(keys_);
    row->addWidget(badge, 0, Qt::AlignVCenter);
    description_ = new LineLimitedLabel(2, Qt::AlignLeft | Qt::AlignVCenter);
    description_->setFont(textFont(13));
    description_->setTextColor(SystemColors::primaryText());
    row->addWidget(description_, 1);
}

void MultiMonitorShortcut::setDescription(const QString& description) { description_->setText(description); }

QString MultiMonitorShortcut::keys() const { return keys_->text(); }

MultiMonitorView::MultiMonitorView(LanguageManager& languageManager, int connectedDisplays, QWidget* parent)
    : QWidget(parent), connectedDisplays_(connectedDisplays) {
    auto* texts = new LocalizedTexts(languageManager, this);
    auto* page = new QVBoxLayout(this);
    page->setSpacing(14);
    page->setContentsMargins(40, 12, 40, 12);

    addPageHeader(page, *texts,
                  {"display.2", 38, SystemColors::accent(), "onboarding_multi_monitor_title", 24, "onboarding_multi_monitor_subtitle",
                   textFont(13), 5});

    if (auto* picture = makePicture("multi_monitor_demo", 620, 10, 0.15, 8, 3)) {
        addCentered(page, picture);
        showsPicture_ = true;
    }

    auto* table = new QWidget;
    table->setMaximumWidth(760);
    auto* tableLayout = new QVBoxLayout(table);
    tableLayout->setSpacing(10);
    tableLayout->setContentsMargins(0, 4, 0, 0);
    QHBoxLayout* tableRow = nullptr;
    for (const auto& shortcut : screenShortcuts) {
        if (!tableRow || tableRow->count() == 2) {
            tableRow = new QHBoxLayout;
            tableRow->setSpacing(12);
            tableLayout->addLayout(tableRow);
        }
        auto* cell = new MultiMonitorShortcut(QString::fromUtf8(shortcut.caption));
        tableRow->addWidget(cell, 1);
        texts->onRelabel([texts, cell, shortcut] { cell->setDescription(texts->text(shortcut.descriptionKey)); });
    }
    addCentered(page, table, true);

    auto* tipArea = new QVBoxLayout;
    tipArea->setContentsMargins(0, 6, 0, 0);
    addCentered(tipArea, makeTipBox(*texts, {QStringLiteral("✨"), 12, "onboarding_multi_monitor_feature",
                                             QMargins(12, 7, 12, 7), 5, 5}));
    page->addLayout(tipArea);

    auto* status = new QHBoxLayout;
    status->setSpacing(5);
    const bool several = connectedDisplays_ >= 2;
    statusSymbol_ = new SymbolLabel(several ? "checkmark.circle.fill" : "info.circle.fill", 11,
                                    several ? SystemColors::green() : SystemColors::orange());
    statusText_ = makeLabel(textFont(11), SystemColors::secondaryText());
    status->addStretch(1);
    status->addWidget(statusSymbol_, 0, Qt::AlignVCenter);
    status->addWidget(statusText_, 0, Qt::AlignVCenter);
    status->addStretch(1);
    page->addLayout(status);
    page->addStretch(1);

    texts->onRelabel([this, texts] {
        auto& language = texts->languageManager();
        statusText_->setText(QString::fromStdString(
            connectedDisplays_ >= 2 ? language.localizedFormat("onboarding_multi_monitor_detected", {std::int64_t{connectedDisplays_}})
                                    : language.localizedString("onboarding_multi_monitor_connect")));
    });
}

QString MultiMonitorView::statusText() const { return statusText_->text(); }

} // namespace zentaris
