#include "settings/ModernToggleRow.h"

#include "preferences/AppStyle.h"
#include "settings/SettingsWidgets.h"
#include "settings/SwitchToggle.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace zentaris {

ModernToggleRow::ModernToggleRow(const std::string& icon, const QColor& iconColor, const std::string& title,
                                 const std::string& description, std::function<void(bool)> onToggle, QWidget* parent)
    : QWidget(parent) {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    row->addWidget(symbolView(icon, 16, iconColor, 24));

    auto* texts = new QVBoxLayout;
    texts->setSpacing(4);
    title_ = new LocalizedText(title, withWeight(AppStyle::bodyFont(), QFont::Medium));
    texts->addWidget(title_);
    auto* details = new LocalizedText(description, AppStyle::captionFont(), SystemColors::secondaryText());
    details->setWordWrap(true);
    texts->addWidget(details);
    row->addLayout(texts, 1);

    toggle_ = new SwitchToggle;
    toggle_->setAccessibleName(title_->text());
    row->addWidget(toggle_);
    connect(toggle_, &SwitchToggle::clicked, this, [onToggle = std::move(onToggle)](bool on) {
        if (onToggle) onToggle(on);
    });
}

bool ModernToggleRow::isOn() const { return toggle_->isChecked(); }

void ModernToggleRow::setOn(bool on) {
    const QSignalBlocker quiet(toggle_);
    toggle_->setChecked(on);
    toggle_->update();
}

} // namespace zentaris
