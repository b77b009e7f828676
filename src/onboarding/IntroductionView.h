#pragma once

#include "onboarding/TutorialStyle.h"
#include "preferences/LanguageManager.h"

#include <QColor>
#include <QLabel>
#include <QWidget>

#include <string>

namespace zentaris {

namespace tutorial {
class LineLimitedLabel;
}

// One way of controlling the program: its symbol, title and a description of at most two lines.
class ControlMethodCard : public tutorial::RoundedPanel {
public:
    ControlMethodCard(const std::string& icon, const QColor& iconColor, QWidget* parent = nullptr);
    void setTexts(const QString& title, const QString& description);
    QString title() const { return title_->text(); }

private:
    QLabel* title_;
    tutorial::LineLimitedLabel* description_;
};

// The tutorial's second page: the menu, the keyboard shortcuts and dragging, one card each.
class IntroductionView : public QWidget {
public:
    explicit IntroductionView(LanguageManager& languageManager, QWidget* parent = nullptr);
};

} // namespace zentaris
