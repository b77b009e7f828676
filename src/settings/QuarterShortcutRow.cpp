#include "settings/QuarterShortcutRow.h"

#include "preferences/AppStyle.h"
#include "settings/SettingsWidgets.h"

#include <QHBoxLayout>
#include <QLabel>

#include <map>

namespace zentaris {

namespace {

struct Quarter {
    const char* icon;
    const char* hint;
};

const Quarter* quarter(const GlobalShortcuts::Name& name) {
    static const std::map<std::string, Quarter> table{
        {"topLeftQuarter", {"arrow.up.left.square.fill", "⌥⌘ ↑←"}},
        {"topRightQuarter", {"arrow.up.right.square.fill", "⌥⌘ ↑→"}},
        {"bottomLeftQuarter", {"arrow.down.left.square.fill", "⌥⌘ ↓←"}},
        {"bottomRightQuarter", {"arrow.down.right.square.fill", "⌥⌘ ↓→"}},
    };
    auto it = table.find(name.rawValue);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace

std::string QuarterShortcutRow::quarterIcon(const GlobalShortcuts::Name& name) {
    const auto* entry = quarter(name);
    return entry ? entry->icon : "";
}

std::string QuarterShortcutRow::shortcutHint(const GlobalShortcuts::Name& name) {
    const auto* entry = quarter(name);
    return entry ? entry->hint : "";
}

QuarterShortcutRow::QuarterShortcutRow(std::string labelKey, GlobalShortcuts::Name shortcutName, QWidget* parent)
    : ShortcutRowFrame(parent) {
    rowLayout()->addWidget(symbolView(quarterIcon(shortcutName), 16, SystemColors::secondaryText()));

    auto* label = new LocalizedText(std::move(labelKey), AppStyle::bodyFont());
    label->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    rowLayout()->addWidget(label, 1);

    hint_ = new QLabel(QString::fromStdString(shortcutHint(shortcutName)), this);
    hint_->setObjectName(QStringLiteral("quarterHint"));
    hint_->setTextFormat(Qt::PlainText);
    hint_->setFont(AppStyle::bodyFont());
    hint_->setContentsMargins(12, 4, 12, 4);
    hint_->setAttribute(Qt::WA_StyledBackground, true);
    hint_->setStyleSheet(QStringLiteral("QLabel#quarterHint { background-color: palette(base); border-radius: 6px; }"));
    setTextColor(hint_, SystemColors::secondaryText());
    rowLayout()->addWidget(hint_);
}

} // namespace zentaris
