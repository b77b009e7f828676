#pragma once

#include "preferences/LanguageManager.h"

#include <QWidget>

#include <string>

namespace zentaris {

namespace tutorial {
class LineLimitedLabel;
}

// A symbol on a faded disc above a label of at most two lines in a fixed 120 by 36 frame, so
// that every badge has the same size in every language.
class FeatureSummaryBadge : public QWidget {
public:
    FeatureSummaryBadge(const std::string& icon, const QColor& iconColor, QWidget* parent = nullptr);
    void setLabel(const QString& label);
    const tutorial::LineLimitedLabel* label() const { return label_; }

private:
    tutorial::LineLimitedLabel* label_;
};

// The tutorial's last page: what was shown, summed up. Finishing is left to the navigation bar.
class CompletionView : public QWidget {
public:
    explicit CompletionView(LanguageManager& languageManager, QWidget* parent = nullptr);
};

} // namespace zentaris
