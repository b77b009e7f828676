#pragma once

#include "onboarding/TutorialStyle.h"
#include "preferences/LanguageManager.h"

#include <QLabel>
#include <QWidget>

#include <vector>

namespace zentaris {

namespace tutorial {
class LineLimitedLabel;
}

// One shortcut of the tour: its key caption in a badge, what it does and a hint.
class ShortcutRow : public tutorial::RoundedPanel {
public:
    ShortcutRow(const QString& keys, QWidget* parent = nullptr);
    void setTexts(const QString& description, const QString& hint);
    QString keys() const;
    const QLabel* keysLabel() const { return keys_; }

private:
    QLabel* keys_;
    tutorial::LineLimitedLabel* description_;
    tutorial::LineLimitedLabel* hint_;
};

// One quarter of the screen: its arrow and its name.
class QuarterShortcut : public tutorial::RoundedPanel {
public:
    QuarterShortcut(const QString& arrows, const QString& label, QWidget* parent = nullptr);
};

// The tutorial's fourth page: the film beside the arrow, quarter, full-screen and centre shortcuts.
class ShortcutsView : public QWidget {
public:
    explicit ShortcutsView(LanguageManager& languageManager, QWidget* parent = nullptr);

    // The rows in the order shown: left, right, top, bottom, full screen, centre.
    const std::vector<ShortcutRow*>& rows() const { return rows_; }
    bool showsFilm() const { return showsFilm_; }

private:
    std::vector<ShortcutRow*> rows_;
    bool showsFilm_ = false;
};

} // namespace zentaris
