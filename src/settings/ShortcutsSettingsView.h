#pragma once

#include "platform/ObservationToken.h"
#include "settings/ShortcutSection.h"

#include <QWidget>

#include <functional>
#include <map>
#include <set>
#include <vector>

class QAbstractButton;
class QLabel;
class QLineEdit;

namespace zentaris {

class CollapsibleCard;
class ShortcutSettings;
class SwitchToggle;

// The Shortcuts page of the settings window: the 25 shortcuts in collapsible sections, a search
// over their translated labels, the switch for all shortcuts and the reset to the defaults.
class ShortcutsSettingsView : public QWidget {
public:
    // Asks the user to confirm the reset; true to go ahead.
    using ResetConfirmation = std::function<bool(QWidget* parent)>;

    explicit ShortcutsSettingsView(QWidget* parent = nullptr);

    std::vector<ShortcutDefinition> filteredShortcuts(ShortcutSection section) const;
    void toggleSection(ShortcutSection section);
    void resetAllShortcuts();

    const QString& searchText() const { return searchText_; }
    void setSearchText(const QString& text);
    bool isExpanded(ShortcutSection section) const { return expandedSections_.count(section) != 0; }

    // Replaces the alert that confirms a reset (tests answer it themselves).
    void setResetConfirmation(ResetConfirmation confirmation) { confirmReset_ = std::move(confirmation); }

    // The parts on show.
    QLineEdit* searchField() const { return searchField_; }
    QAbstractButton* clearSearchButton() const { return clearSearchButton_; }
    QAbstractButton* resetButton() const { return resetButton_; }
    SwitchToggle* enableAllSwitch() const { return enableAllSwitch_; }
    QLabel* enableAllBadge() const { return enableAllBadge_; }
    CollapsibleCard* instructionsCard() const { return instructionsCard_; }
    // The card of a section with rows; none for the instructions.
    CollapsibleCard* sectionCard(ShortcutSection section) const;
    // The rows of a section that the search lets through, each with whether its divider shows.
    std::vector<std::pair<QWidget*, bool>> visibleRows(ShortcutSection section) const;

private:
    struct SectionRows {
        CollapsibleCard* card = nullptr;
        std::vector<ShortcutDefinition> definitions;
        std::vector<QWidget*> rows;
        std::vector<QWidget*> dividers;
    };

    QWidget* buildHeader();
    QWidget* buildEnableAllCard();
    CollapsibleCard* buildInstructionsCard();
    CollapsibleCard* buildSectionCard(ShortcutSection section);
    void applySearch();
    void refreshEnableAll();
    void confirmAndReset();

    QString searchText_;
    std::set<ShortcutSection> expandedSections_{allShortcutSections.begin(), allShortcutSections.end()};
    ShortcutSettings& shortcutSettings_;
    ResetConfirmation confirmReset_;

    QLineEdit* searchField_ = nullptr;
    QAbstractButton* clearSearchButton_ = nullptr;
    QAbstractButton* resetButton_ = nullptr;
    SwitchToggle* enableAllSwitch_ = nullptr;
    QLabel* enableAllIcon_ = nullptr;
    QLabel* enableAllDot_ = nullptr;
    QLabel* enableAllBadge_ = nullptr;
    CollapsibleCard* instructionsCard_ = nullptr;
    std::map<ShortcutSection, SectionRows> sections_;
    platform::ObservationToken enabledObserver_;
};

} // namespace zentaris
