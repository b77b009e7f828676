#pragma once

#include "platform/ObservationToken.h"
#include "preferences/LanguageManager.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <string>
#include <vector>

namespace zentaris::tutorial {

// Keeps the texts of a tutorial view in the interface language: every text bound here is set at
// once and set again after each change of language.
class LocalizedTexts : public QObject {
public:
    explicit LocalizedTexts(LanguageManager& languageManager, QObject* parent = nullptr);

    LanguageManager& languageManager() const { return languageManager_; }
    // The key's text in the current language, or the key itself.
    QString text(const std::string& key) const;

    // Shows the key's text on `widget` (anything with setText) now and after every change.
    template <typename Widget>
    Widget* bind(Widget* widget, std::string key) {
        QPointer<Widget> target(widget);
        onRelabel([this, target, key = std::move(key)] {
            if (target) target->setText(text(key));
        });
        return widget;
    }
    // Runs `relabel` now and after every change of language.
    void onRelabel(std::function<void()> relabel);
    // Sets every text again in the current language.
    void relabel();

private:
    LanguageManager& languageManager_;
    std::vector<std::function<void()>> relabels_;
    platform::ObservationToken languageChanges_;
    bool relabelPending_ = false;
};

} // namespace zentaris::tutorial
