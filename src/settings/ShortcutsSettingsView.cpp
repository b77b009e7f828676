#include "settings/ShortcutsSettingsView.h"

#include "app/AppDelegate.h"
#include "app/ShortcutNames.h"
#include "preferences/AppStyle.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"
#include "settings/CollapsibleCard.h"
#include "settings/CompactShortcutRow.h"
#include "settings/DeferredRefresh.h"
#include "settings/PlainButton.h"
#include "settings/QuarterShortcutRow.h"
#include "settings/SettingsWidgets.h"
#include "settings/SwitchToggle.h"
#include "shortcuts/GlobalShortcuts.h"
#include "views/SymbolImage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace zentaris {

namespace {

QString localized(const std::string& key) {
    return QString::fromStdString(LanguageManager::shared().localizedString(key));
}

QColor sectionColor(ShortcutSection section) {
    const auto name = iconColorName(section);
    if (name == "purple") return SystemColors::purple();
    if (name == "green") return SystemColors::green();
    if (name == "orange") return SystemColors::orange();
    if (name == "indigo") return QColor(0x58, 0x56, 0xd6);
    return SystemColors::blue();
}

bool askToReset(QWidget* parent) {
    QMessageBox alert(parent);
    alert.setIcon(QMessageBox::Warning);
    alert.setText(localized("reset_shortcuts_title"));
    alert.setInformativeText(localized("reset_shortcuts_message"));
    auto* reset = alert.addButton(localized("Reset"), QMessageBox::DestructiveRole);
    alert.addButton(localized("Cancel"), QMessageBox::RejectRole);
    alert.exec();
    return alert.clickedButton() == reset;
}

// A divider that starts 40 points in from the leading edge.
QWidget* indentedDivider() {
    auto* holder = new QWidget;
    auto* row = new QHBoxLayout(holder);
    row->setContentsMargins(40, 0, 0, 0);
    row->addWidget(divider());
    return holder;
}

void paintRounded(QPainter& painter, const QRectF& bounds, const QColor& color, double radius) {
    QPainterPath path;
    path.addRoundedRect(bounds, radius, radius);
    painter.fillPath(path, color);
}

// A widget that draws a rounded rectangle of one colour behind its children.
class RoundedBackground : public QWidget {
public:
    RoundedBackground(std::function<QColor()> color, double radius) : color_(std::move(color)), radius_(radius) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        paintRounded(painter, QRectF(rect()), color_(), radius_);
    }

private:
    std::function<QColor()> color_;
    double radius_;
};

} // namespace

ShortcutsSettingsView::ShortcutsSettingsView(QWidget* parent)
    : QWidget(parent), shortcutSettings_(ShortcutSettings::shared()), confirmReset_(askToReset) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    auto* page = new QVBoxLayout(this);
    page->setContentsMargins(0, 0, 0, 0);
    page->setSpacing(0);
    page->addWidget(buildHeader());
    page->addWidget(divider());

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(24, 24, 24, 24);
    column->setSpacing(16);
    column->addWidget(buildEnableAllCard());
    instructionsCard_ = buildInstructionsCard();
    column->addWidget(instructionsCard_);
    for (auto section : allShortcutSections) {
        if (section == ShortcutSection::instructions) continue;
        column->addWidget(buildSectionCard(section));
    }
    column->addStretch(1);
    auto* scroll = makePageScrollArea(content, this);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    page->addWidget(scroll, 1);

    enabledObserver_ = shortcutSettings_.shortcutsEnabledPublisher().subscribe([this](const bool&) { refreshEnableAll(); });
    // Labels change with the language, and the search matches the labels.
    refreshOnLanguageChange(this, [this] {
        searchField_->setPlaceholderText(localized("search_shortcuts_placeholder"));
        applySearch();
    });
    applySearch();
}

QWidget* ShortcutsSettingsView::buildHeader() {
    auto* header = new QWidget;
    auto* column = new QVBoxLayout(header);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(12);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(16);
    titleRow->addWidget(new LocalizedText("keyboard_shortcuts", withWeight(AppStyle::titleFont(), QFont::DemiBold)));
    titleRow->addStretch(1);
    auto* reset = new QPushButton;
    reset->setIcon(symbolIcon("arrow.counterclockwise", SystemColors::primaryText()));
    reset->setText(localized("reset_shortcuts"));
    refreshOnLanguageChange(reset, [reset] { reset->setText(localized("reset_shortcuts")); });
    connect(reset, &QPushButton::clicked, this, [this] { confirmAndReset(); });
    resetButton_ = reset;
    titleRow->addWidget(reset);
    column->addLayout(titleRow);

    auto* search = new RoundedBackground([] { return SystemColors::controlBackground(); }, 6);
    auto* searchRow = new QHBoxLayout(search);
    searchRow->setContentsMargins(8, 8, 8, 8);
    searchRow->setSpacing(8);
    searchRow->addWidget(symbolView("magnifyingglass", 14, SystemColors::secondaryText()));
    searchField_ = new QLineEdit;
    searchField_->setFrame(false);
    searchField_->setFont(AppStyle::bodyFont());
    searchField_->setPlaceholderText(localized("search_shortcuts_placeholder"));
    searchField_->setStyleSheet(QStringLiteral("QLineEdit { background: transparent; }"));
    connect(searchField_, &QLineEdit::textChanged, this, [this](const QString& text) { setSearchText(text); });
    searchRow->addWidget(searchField_, 1);
    auto* clear = new PlainButton;
    clear->setFocusPolicy(Qt::NoFocus);
    auto* clearLayout = new QHBoxLayout(clear);
    clearLayout->setContentsMargins(0, 0, 0, 0);
    clearLayout->addWidget(symbolView("xmark.circle.fill", 14, SystemColors::secondaryText()));
    connect(clear, &QAbstractButton::clicked, this, [this] { setSearchText(QString()); });
    clearSearchButton_ = clear;
    searchRow->addWidget(clear);
    column->addWidget(search);
    return header;
}

QWidget* ShortcutsSettingsView::buildEnableAllCard() {
    auto* card = makeCard();
    auto* row = new QHBoxLayout(card);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(16);

    auto* lead = new QHBoxLayout;
    lead->setSpacing(12);
    enableAllIcon_ = new QLabel;
    enableAllIcon_->setFixedSize(28, 24);
    enableAllIcon_->setAlignment(Qt::AlignCenter);
    lead->addWidget(enableAllIcon_);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(new LocalizedText("enable_all_shortcuts", withWeight(AppStyle::sectionTitleFont(), QFont::DemiBold)));
    auto* description =
        new LocalizedText("enable_shortcuts_description", AppStyle::captionFont(), SystemColors::secondaryText());
    description->setWordWrap(true);
    texts->addWidget(description);
    lead->addLayout(texts, 1);
    row->addLayout(lead, 1);

    auto* trail = new QVBoxLayout;
    trail->setSpacing(4);
    trail->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* badge = new QHBoxLayout;
    badge->setSpacing(4);
    enableAllDot_ = new QLabel;
    enableAllDot_->setFixedSize(6, 6);
    badge->addStretch(1);
    badge->addWidget(enableAllDot_, 0, Qt::AlignVCenter);
    enableAllBadge_ = new QLabel;
    enableAllBadge_->setFont(withWeight(AppStyle::badgeFont(), QFont::Bold));
    badge->addWidget(enableAllBadge_);
    trail->addLayout(badge);
    enableAllSwitch_ = new SwitchToggle;
    connect(enableAllSwitch_, &QAbstractButton::clicked, this,
            [this](bool on) { shortcutSettings_.setShortcutsEnabled(on); });
    trail->addWidget(enableAllSwitch_, 0, Qt::AlignRight);
    row->addLayout(trail);
    refreshOnLanguageChange(card, [this] { refreshEnableAll(); });
    return card;
}

void ShortcutsSettingsView::refreshEnableAll() {
    const bool on = shortcutSettings_.shortcutsEnabled();
    const QColor state = on ? AppStyle::successColor() : AppStyle::errorColor();
    setSymbol(enableAllIcon_, on ? "keyboard.fill" : "keyboard", 24, on ? SystemColors::green() : SystemColors::secondaryText());
    QPixmap dot(QSize(6, 6) * 2);
    dot.setDevicePixelRatio(2);
    dot.fill(Qt::transparent);
    QPainter painter(&dot);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(state);
    painter.drawEllipse(QRectF(0, 0, 6, 6));
    painter.end();
    enableAllDot_->setPixmap(dot);
    enableAllBadge_->setText(localized(on ? "ON" : "OFF"));
    setTextColor(enableAllBadge_, state);
    const QSignalBlocker quiet(enableAllSwitch_);
    enableAllSwitch_->setChecked(on);
}

CollapsibleCard* ShortcutsSettingsView::buildInstructionsCard() {
    auto* text = new LocalizedText("shortcut_recorder_instructions", AppStyle::bodyFont(), SystemColors::secondaryText());
    text->setWordWrap(true);
    text->setContentsMargins(16, 16, 16, 16);
    return new CollapsibleCard(title(ShortcutSection::instructions), icon(ShortcutSection::instructions),
                               sectionColor(ShortcutSection::instructions),
                               isExpanded(ShortcutSection::instructions),
                               [this] { toggleSection(ShortcutSection::instructions); }, text);
}

CollapsibleCard* ShortcutsSettingsView::buildSectionCard(ShortcutSection section) {
    auto& rows = sections_[section];
    rows.definitions = shortcuts(section);

    auto* content = new QWidget;
    auto* column = new QVBoxLayout(content);
    column->setContentsMargins(12, 12, 12, 12);
    column->setSpacing(12);
    if (section == ShortcutSection::quarterLayout) {
        auto* hint = new RoundedBackground([] { return withOpacity(SystemColors::blue(), 0.08); }, 6);
        auto* hintRow = new QHBoxLayout(hint);
        hintRow->setContentsMargins(12, 12, 12, 12);
        hintRow->setSpacing(8);
        hintRow->addWidget(symbolView("info.circle.fill", 14, SystemColors::blue()), 0, Qt::AlignTop);
        auto* text = new LocalizedText("quarter_layout_instruction", AppStyle::captionFont(), SystemColors::secondaryText());
        text->setWordWrap(true);
        hintRow->addWidget(text, 1);
        column->addWidget(hint);
    }
    auto* list = new QVBoxLayout;
    list->setSpacing(4);
    for (const auto& definition : rows.definitions) {
        QWidget* row = section == ShortcutSection::quarterLayout
                           ? static_cast<QWidget*>(new QuarterShortcutRow(definition.labelKey, definition.name))
                           : new CompactShortcutRow(definition.labelKey, definition.name, shortcutSettings_);
        auto* line = indentedDivider();
        list->addWidget(row);
        list->addWidget(line);
        rows.rows.push_back(row);
        rows.dividers.push_back(line);
    }
    column->addLayout(list);

    rows.card = new CollapsibleCard(title(section), icon(section), sectionColor(section), isExpanded(section),
                                    [this, section] { toggleSection(section); }, content);
    return rows.card;
}

std::vector<ShortcutDefinition> ShortcutsSettingsView::filteredShortcuts(ShortcutSection section) const {
    auto definitions = shortcuts(section);
    if (searchText_.isEmpty()) return definitions;
    const QString needle = searchText_.toLower();
    std::erase_if(definitions, [&needle](const ShortcutDefinition& definition) {
        return !localized(definition.labelKey).toLower().contains(needle);
    });
    return definitions;
}

void ShortcutsSettingsView::setSearchText(const QString& text) {
    searchText_ = text;
    if (searchField_->text() != text) searchField_->setText(text);
    applySearch();
}

void ShortcutsSettingsView::applySearch() {
    clearSearchButton_->setVisible(!searchText_.isEmpty());
    for (auto& [section, rows] : sections_) {
        const auto shown = filteredShortcuts(section);
        for (std::size_t index = 0; index < rows.definitions.size(); ++index) {
            const auto& definition = rows.definitions[index];
            const bool visible = std::find(shown.begin(), shown.end(), definition) != shown.end();
            rows.rows[index]->setVisible(visible);
            rows.dividers[index]->setVisible(visible && !(definition == shown.back()));
        }
        rows.card->setVisible(!shown.empty());
    }
}

void ShortcutsSettingsView::toggleSection(ShortcutSection section) {
    if (!expandedSections_.erase(section)) expandedSections_.insert(section);
    CollapsibleCard* card = section == ShortcutSection::instructions ? instructionsCard_ : sectionCard(section);
    if (card) card->setExpanded(isExpanded(section));
}

CollapsibleCard* ShortcutsSettingsView::sectionCard(ShortcutSection section) const {
    auto it = sections_.find(section);
    return it == sections_.end() ? nullptr : it->second.card;
}

std::vector<std::pair<QWidget*, bool>> ShortcutsSettingsView::visibleRows(ShortcutSection section) const {
    std::vector<std::pair<QWidget*, bool>> result;
    auto it = sections_.find(section);
    if (it == sections_.end()) return result;
    for (std::size_t index = 0; index < it->second.rows.size(); ++index) {
        if (it->second.rows[index]->isHidden()) continue;
        result.emplace_back(it->second.rows[index], !it->second.dividers[index]->isHidden());
    }
    return result;
}

void ShortcutsSettingsView::confirmAndReset() {
    if (confirmReset_ && confirmReset_(this)) resetAllShortcuts();
}

void ShortcutsSettingsView::resetAllShortcuts() {
    for (auto section : allShortcutSections) {
        for (const auto& definition : shortcuts(section)) GlobalShortcuts::setShortcut(std::nullopt, definition.name);
    }
    registerDefaultShortcuts();
    platform::NotificationCenter::defaultCenter().post(AppDelegate::shortcutsDidResetNotification);
}

} // namespace zentaris
