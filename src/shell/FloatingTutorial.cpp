#include "shell/FloatingTutorial.h"

#include <QEvent>
#include <QWindow>

namespace zentaris {

FloatingTutorial::FloatingTutorial(QWidget* tutorial) : QObject(tutorial), tutorial_(tutorial) {
    tutorial->setWindowFlags(Qt::Window | Qt::WindowStaysOnTopHint);
    tutorial->installEventFilter(this);
}

void FloatingTutorial::giveWayTo(QWidget* settings) {
    if (settings_ != settings) {
        if (settings_) settings_->removeEventFilter(this);
        settings_ = settings;
        settings->installEventFilter(this);
    }
    setFloating(false);
}

bool FloatingTutorial::eventFilter(QObject* watched, QEvent* event) {
    const bool turnedToTutorial = watched == tutorial_ && event->type() == QEvent::WindowActivate;
    const bool settingsClosed = watched == settings_ && event->type() == QEvent::Hide;
    if (turnedToTutorial || settingsClosed) setFloating(true);
    return false;
}

void FloatingTutorial::setFloating(bool floating) {
    if (!tutorial_ || tutorial_->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == floating) return;
    const Qt::WindowFlags flags = tutorial_->windowFlags().setFlag(Qt::WindowStaysOnTopHint, floating);
    // Told to the shown window directly: setWindowFlags would hide it.
    tutorial_->overrideWindowFlags(flags);
    if (QWindow* window = tutorial_->windowHandle()) window->setFlags(flags);
}

} // namespace zentaris
