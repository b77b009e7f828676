#pragma once

#include "platform/NotificationCenter.h"
#include "platform/UserDefaults.h"
#include "preferences/LanguageManager.h"
#include "preferences/ShortcutSettings.h"

#include <QWidget>

#include <string>

class QComboBox;
class QLabel;
class QSlider;

namespace zentaris {

class LanguagePickerView;
class ModernToggleRow;
class PlainButton;
class ThreeColumnPreview;
class WindowGapPreview;

// The General page: the tutorial button and the cards for language, drag mode, interface and
// window management. Every control takes effect at once.
class GeneralSettingsView : public QWidget {
public:
    static constexpr int maximumWindowGap = 20;

    // Over the standard defaults, the default centre and the shared settings and language manager.
    explicit GeneralSettingsView(QWidget* parent = nullptr);

    void showTutorialAction();
    void menuBarIconChanged();
    void languageChanged(const std::string& code);

    bool launchAtLogin() const;
    bool menuBarIconColored() const;
    double windowGap() const;
    // The value label of a gap: its whole points, fraction dropped.
    static QString windowGapText(double gap);

    // Shows the stored values and the current language.
    void refresh();

    PlainButton* tutorialButton() const { return tutorialButton_; }
    LanguagePickerView* languagePicker() const { return languagePicker_; }
    QComboBox* dragModePicker() const { return dragModePicker_; }
    ModernToggleRow* rightClickDragRow() const { return rightClickDragRow_; }
    ModernToggleRow* launchAtLoginRow() const { return launchAtLoginRow_; }
    ModernToggleRow* menuBarIconRow() const { return menuBarIconRow_; }
    QComboBox* threeColumnStylePicker() const { return threeColumnStylePicker_; }
    ThreeColumnPreview* threeColumnPreview() const { return threeColumnPreview_; }
    QSlider* windowGapSlider() const { return windowGapSlider_; }
    QLabel* windowGapLabel() const { return windowGapLabel_; }
    WindowGapPreview* windowGapPreview() const { return windowGapPreview_; }

private:
    QWidget* buildTutorialButton();
    QWidget* buildLanguageCard();
    QWidget* buildDragModeCard();
    QWidget* buildInterfaceCard();
    QWidget* buildWindowManagementCard();
    QWidget* buildWindowGapBlock();
    void relabelDragModeOptions();

    platform::UserDefaults& defaults_;
    platform::NotificationCenter& notifications_;
    LanguageManager& languageManager_;
    ShortcutSettings& shortcutSettings_;

    PlainButton* tutorialButton_ = nullptr;
    LanguagePickerView* languagePicker_ = nullptr;
    QComboBox* dragModePicker_ = nullptr;
    ModernToggleRow* rightClickDragRow_ = nullptr;
    ModernToggleRow* launchAtLoginRow_ = nullptr;
    ModernToggleRow* menuBarIconRow_ = nullptr;
    QComboBox* threeColumnStylePicker_ = nullptr;
    ThreeColumnPreview* threeColumnPreview_ = nullptr;
    QSlider* windowGapSlider_ = nullptr;
    QLabel* windowGapLabel_ = nullptr;
    WindowGapPreview* windowGapPreview_ = nullptr;
};

} // namespace zentaris
