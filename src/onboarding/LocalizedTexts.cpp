#include "onboarding/LocalizedTexts.h"

#include <QTimer>

namespace zentaris::tutorial {

LocalizedTexts::LocalizedTexts(LanguageManager& languageManager, QObject* parent)
    : QObject(parent), languageManager_(languageManager) {
    // The manager announces a change before it happens; the texts are read once the new language
    // is in place, and never inside the control that chose it.
    languageChanges_ = languageManager_.objectWillChange().subscribe([this] {
        if (relabelPending_) return;
        relabelPending_ = true;
        QTimer::singleShot(0, this, [this] { relabel(); });
    });
}

QString LocalizedTexts::text(const std::string& key) const {
    return QString::fromStdString(languageManager_.localizedString(key));
}

void LocalizedTexts::onRelabel(std::function<void()> relabel) {
    relabel();
    relabels_.push_back(std::move(relabel));
}

void LocalizedTexts::relabel() {
    relabelPending_ = false;
    for (const auto& apply : relabels_) apply();
}

} // namespace zentaris::tutorial
