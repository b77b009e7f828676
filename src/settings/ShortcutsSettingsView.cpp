#include "settings/ShortcutsSettingsView.h"

namespace zentaris {

ShortcutsSettingsView::ShortcutsSettingsView(QWidget* parent) : QWidget(parent) {}

}  // namespace zentaris
