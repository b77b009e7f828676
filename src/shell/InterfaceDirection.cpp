#include "shell/InterfaceDirection.h"

#include "preferences/LanguageManager.h"
#include "settings/DeferredRefresh.h"

#include <QGuiApplication>
#include <QLocale>

namespace zentaris {

Qt::LayoutDirection layoutDirectionForLanguage(const std::string& languageCode) {
    return QLocale(QString::fromStdString(languageCode)).textDirection();
}

void followInterfaceLanguageDirection(QObject* owner) {
    const auto apply = [] {
        QGuiApplication::setLayoutDirection(layoutDirectionForLanguage(LanguageManager::shared().currentLanguage()));
    };
    apply();
    refreshOnLanguageChange(owner, apply);
}

} // namespace zentaris
