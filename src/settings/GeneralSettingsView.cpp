#include "settings/GeneralSettingsView.h"

#include "app/AppDelegate.h"
#include "layout/WindowFrameCalculator.h"
#include "preferences/AppStyle.h"
#include "settings/DeferredRefresh.h"
#include "settings/GeneralPreviews.h"
#include "settings/LanguagePickerView.h"
#include "settings/ModernToggleRow.h"
#include "settings/PlainButton.h"
#include "settings/SettingsWidgets.h"
#include "views/SymbolImage.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zentaris {

namespace {

struct DragModeOption {
    DragModeModifier modifier;
    const char* symbol;
    const char* key;
};

constexpr std::array<DragModeOption, 3> dragModeOptions{{
    {DragModeModifier::none, "circle.dashed", "drag_mode_modifier_none"},
    {DragModeModifier::command, "command", "drag_mode_modifier_command"},
    {DragModeModifier::shift, "shift", "drag_mode_modifier_shift"},
}};

QFrame* cardWithHeader(const char* symbol, const QColor& color, const char* key, QVBoxLayout*& content) {
    auto* card = makeCard();
    content = new QVBoxLayout(card);
    content->setContentsMargins(16, 16, 16, 16);
    content->setSpacing(16);
    content->addWidget(sectionHeader(symbol, color, key));
    return card;
}

QHBoxLayout* settingRow(QWidget* label, QWidget* control, int spacing = 16) {
    auto* row = new QHBoxLayout;
    row->setSpacing(spacing);
    row->addWidget(label, 1);
    row->addWidget(control);
    return row;
}

int sliderPosition(double gap) {
    if (!std::isfinite(gap)) return 0;
    return static_cast<int>(std::lround(std::clamp(gap, 0.0, double(GeneralSettingsView::maximumWindowGap))));
}

} // namespace

GeneralSettingsView::GeneralSettingsView(QWidget* parent)
    : QWidget(parent),
      defaults_(platform::UserDefaults::standard()),
      notifications_(platform::NotificationCenter::defaultCenter()),
      languageManager_(LanguageManager::shared()),
      shortcutSettings_(ShortcutSettings::shared()) {
    auto* column = makePageColumn(this);
    column->addLayout(pageHeader("general_settings", "configure_preferences"));
    column->addWidget(buildTutorialButton());
    column->addWidget(buildLanguageCard());
    column->addWidget(buildDragModeCard());
    column->addWidget(buildInterfaceCard());
    column->addWidget(buildWindowManagementCard());
    column->addStretch(1);

    auto* refresher = new DeferredRefresh(this, [this] { refresh(); });
    refresher->watch(defaults_, AppDelegate::launchAtLoginKey)
        .watch(defaults_, AppDelegate::menuBarIconColoredKey)
        .watch(defaults_, WindowFrameCalculator::windowGapKey)
        .watch(shortcutSettings_.objectWillChange())
        .watch(languageManager_.objectWillChange());
    refresh();
}

QWidget* GeneralSettingsView::buildTutorialButton() {
    tutorialButton_ = new PlainButton;
    auto* row = new QHBoxLayout(tutorialButton_);
    row->setContentsMargins(16, 16, 16, 16);
    row->setSpacing(16);

    auto* badge = new RoundedPanel([] { return withOpacity(SystemColors::blue(), 0.15); }, 24);
    badge->setFixedSize(48, 48);
    auto* badgeLayout = new QHBoxLayout(badge);
    badgeLayout->setContentsMargins(0, 0, 0, 0);
    badgeLayout->addWidget(symbolView("play.circle.fill", 24, SystemColors::blue()), 0, Qt::AlignCenter);
    row->addWidget(badge);

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(new LocalizedText("show_tutorial_title", withWeight(AppStyle::sectionTitleFont(), QFont::DemiBold)));
    auto* description = new LocalizedText("show_tutorial_description", AppStyle::bodyFont(), SystemColors::secondaryText());
    description->setWordWrap(true);
    texts->addWidget(description);
    row->addLayout(texts, 1);
    row->addWidget(symbolView("chevron.right", 14, SystemColors::secondaryText()));

    tutorialButton_->setBackgroundPainter([](QPainter& painter, const QRectF& bounds, bool) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(withOpacity(SystemColors::controlBackground(), 0.5));
        painter.drawRoundedRect(bounds, AppStyle::cardCornerRadius, AppStyle::cardCornerRadius);
    });
    connect(tutorialButton_, &QAbstractButton::clicked, this, [this] { showTutorialAction(); });
    return tutorialButton_;
}

QWidget* GeneralSettingsView::buildLanguageCard() {
    QVBoxLayout* content = nullptr;
    auto* card = cardWithHeader("globe", SystemColors::blue(), "language_header", content);
    languagePicker_ = new LanguagePickerView(LanguagePickerView::supportedLanguageList(),
                                             languageManager_.currentLanguage(),
                                             [this](const std::string& code) { languageChanged(code); });
    languagePicker_->setFixedWidth(232);
    languagePicker_->setFont(AppStyle::bodyFont());
    auto* row = new QHBoxLayout;
    row->setSpacing(16);
    row->addWidget(new LocalizedText("Language:", withWeight(AppStyle::bodyFont(), QFont::Medium)));
    row->addStretch(1);
    row->addWidget(languagePicker_);
    content->addLayout(row);
    auto* note = new LocalizedText("language_changes_immediate", AppStyle::captionFont(), SystemColors::secondaryText());
    note->setWordWrap(true);
    content->addWidget(note);
    return card;
}

QWidget* GeneralSettingsView::buildDragModeCard() {
    QVBoxLayout* content = nullptr;
    auto* card = cardWithHeader("hand.draw.fill", SystemColors::green(), "drag_mode_settings", content);
    dragModePicker_ = new QComboBox;
    dragModePicker_->setFixedWidth(240);
    dragModePicker_->setFont(AppStyle::bodyFont());
    for (const auto& option : dragModeOptions) {
        dragModePicker_->addItem(symbolIcon(option.symbol, SystemColors::primaryText()), QString());
    }
    connect(dragModePicker_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < int(dragModeOptions.size())) {
            shortcutSettings_.setDragModeModifier(dragModeOptions[std::size_t(index)].modifier);
        }
    });
    content->addLayout(settingRow(settingLabel("drag_mode_activation", "drag_mode_modifier_description"), dragModePicker_));
    content->addWidget(divider());
    rightClickDragRow_ = new ModernToggleRow("computermouse.fill", SystemColors::orange(), "right_click_drag_title",
                                             "right_click_drag_description",
                                             [this](bool on) { shortcutSettings_.setRightClickDragEnabled(on); });
    content->addWidget(rightClickDragRow_);
    return card;
}

QWidget* GeneralSettingsView::buildInterfaceCard() {
    QVBoxLayout* content = nullptr;
    auto* card = cardWithHeader("paintbrush.fill", SystemColors::pink(), "interface_header", content);
    launchAtLoginRow_ = new ModernToggleRow("power", SystemColors::green(), "launchAtLogin",
                                            "launch_at_login_description",
                                            [this](bool on) { defaults_.set(AppDelegate::launchAtLoginKey, on); });
    menuBarIconRow_ = new ModernToggleRow("menubar.rectangle", SystemColors::blue(), "menubar_icon_colored",
                                          "menubar_icon_description", [this](bool on) {
                                              defaults_.set(AppDelegate::menuBarIconColoredKey, on);
                                              menuBarIconChanged();
                                          });
    content->addWidget(launchAtLoginRow_);
    content->addWidget(divider());
    content->addWidget(menuBarIconRow_);
    return card;
}

QWidget* GeneralSettingsView::buildWindowManagementCard() {
    QVBoxLayout* content = nullptr;
    auto* card = cardWithHeader("macwindow", SystemColors::purple(), "window_management_header", content);
    threeColumnStylePicker_ = new QComboBox;
    threeColumnStylePicker_->setFixedWidth(140);
    threeColumnStylePicker_->setFont(AppStyle::bodyFont());
    for (auto style : allThreeColumnStyles) threeColumnStylePicker_->addItem(QString::fromUtf8(rawValue(style)));
    connect(threeColumnStylePicker_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < int(allThreeColumnStyles.size())) {
            shortcutSettings_.setThreeColumnStyle(allThreeColumnStyles[std::size_t(index)]);
        }
    });
    content->addLayout(settingRow(settingLabel("three_column_style", "three_column_style_description"),
                                  threeColumnStylePicker_));
    threeColumnPreview_ = new ThreeColumnPreview(shortcutSettings_.threeColumnStyle());
    content->addWidget(threeColumnPreview_);
    content->addWidget(divider());
    content->addWidget(buildWindowGapBlock());
    return card;
}

QWidget* GeneralSettingsView::buildWindowGapBlock() {
    auto* block = new QWidget;
    auto* column = new QVBoxLayout(block);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(12);

    windowGapLabel_ = new QLabel;
    windowGapLabel_->setFont(withWeight(AppStyle::bodyFont(), QFont::DemiBold));
    setTextColor(windowGapLabel_, SystemColors::accent());
    windowGapLabel_->setMinimumWidth(60);
    windowGapLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    column->addLayout(settingRow(settingLabel("window_gap", "window_gap_description"), windowGapLabel_, 8));

    auto* sliderColumn = new QVBoxLayout;
    sliderColumn->setSpacing(4);
    windowGapSlider_ = new QSlider(Qt::Horizontal);
    windowGapSlider_->setRange(0, maximumWindowGap);
    windowGapSlider_->setSingleStep(1);
    windowGapSlider_->setPageStep(1);
    QPalette tint = windowGapSlider_->palette();
    tint.setColor(QPalette::Highlight, SystemColors::purple());
    windowGapSlider_->setPalette(tint);
    connect(windowGapSlider_, &QSlider::valueChanged, this, [this](int value) {
        defaults_.set(WindowFrameCalculator::windowGapKey, static_cast<double>(value));
        windowGapLabel_->setText(windowGapText(value));
        windowGapPreview_->setGap(value);
    });
    sliderColumn->addWidget(windowGapSlider_);
    auto* marks = new QHBoxLayout;
    for (const char* mark : {"0", "10", "20"}) {
        auto* label = new QLabel(QString::fromLatin1(mark));
        label->setFont(AppStyle::badgeFont());
        setTextColor(label, SystemColors::secondaryText());
        if (marks->count() > 0) marks->addStretch(1);
        marks->addWidget(label);
    }
    sliderColumn->addLayout(marks);
    column->addLayout(sliderColumn);

    windowGapPreview_ = new WindowGapPreview(windowGap());
    column->addWidget(windowGapPreview_);
    return block;
}

void GeneralSettingsView::showTutorialAction() { notifications_.post(AppDelegate::showOnboardingNotification); }

void GeneralSettingsView::menuBarIconChanged() { notifications_.post(AppDelegate::menuBarIconStyleChangedNotification); }

void GeneralSettingsView::languageChanged(const std::string& code) { languageManager_.setLanguage(code); }

bool GeneralSettingsView::launchAtLogin() const { return defaults_.boolForKey(AppDelegate::launchAtLoginKey); }

bool GeneralSettingsView::menuBarIconColored() const { return defaults_.boolForKey(AppDelegate::menuBarIconColoredKey); }

double GeneralSettingsView::windowGap() const { return storedWindowGap(defaults_); }

QString GeneralSettingsView::windowGapText(double gap) {
    // Only a value written from outside can be beyond a whole number's range.
    const double bounded = std::isfinite(gap) ? std::clamp(gap, -1e15, 1e15) : 0.0;
    return QStringLiteral("%1 px").arg(static_cast<long long>(bounded));
}

void GeneralSettingsView::relabelDragModeOptions() {
    for (std::size_t index = 0; index < dragModeOptions.size(); ++index) {
        dragModePicker_->setItemText(int(index),
                                     QString::fromStdString(languageManager_.localizedString(dragModeOptions[index].key)));
    }
}

void GeneralSettingsView::refresh() {
    languagePicker_->setLanguages(LanguagePickerView::supportedLanguageList(), languageManager_.currentLanguage());
    relabelDragModeOptions();
    for (std::size_t index = 0; index < dragModeOptions.size(); ++index) {
        if (dragModeOptions[index].modifier == shortcutSettings_.dragModeModifier()) {
            dragModePicker_->setCurrentIndex(int(index));
        }
    }
    rightClickDragRow_->setOn(shortcutSettings_.rightClickDragEnabled());
    launchAtLoginRow_->setOn(launchAtLogin());
    menuBarIconRow_->setOn(menuBarIconColored());
    const auto style = shortcutSettings_.threeColumnStyle();
    threeColumnStylePicker_->setCurrentIndex(style == ThreeColumnStyle::classic ? 1 : 0);
    threeColumnPreview_->setStyle(style);

    const double gap = windowGap();
    {
        const QSignalBlocker quiet(windowGapSlider_);
        windowGapSlider_->setValue(sliderPosition(gap));
    }
    windowGapLabel_->setText(windowGapText(gap));
    windowGapPreview_->setGap(gap);
}

} // namespace zentaris
