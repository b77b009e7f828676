#pragma once

#include "onboarding/TutorialStyle.h"
#include "preferences/LanguageManager.h"

#include <QLabel>
#include <QWidget>

namespace zentaris {

namespace tutorial {
class LineLimitedLabel;
class SymbolLabel;
}

// One screen shortcut: its key caption in a badge and what it does, in at most two lines.
class MultiMonitorShortcut : public tutorial::RoundedPanel {
public:
    MultiMonitorShortcut(const QString& keys, QWidget* parent = nullptr);
    void setDescription(const QString& description);
    QString keys() const;
    const QLabel* keysLabel() const { return keys_; }

private:
    QLabel* keys_;
    tutorial::LineLimitedLabel* description_;
};

// The tutorial's sixth page: the screen shortcuts, and whether more than one display is attached
// (counted when the page is made).
class MultiMonitorView : public QWidget {
public:
    MultiMonitorView(LanguageManager& languageManager, int connectedDisplays, QWidget* parent = nullptr);

    QString statusText() const;
    const tutorial::SymbolLabel* statusSymbol() const { return statusSymbol_; }
    bool showsPicture() const { return showsPicture_; }

private:
    int connectedDisplays_;
    tutorial::SymbolLabel* statusSymbol_;
    QLabel* statusText_;
    bool showsPicture_ = false;
};

} // namespace zentaris
