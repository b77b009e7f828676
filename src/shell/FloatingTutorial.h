#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace zentaris {

// The tutorial floats above ordinary windows. A settings window asked for while it is open would
// open underneath it, active but unseen: the tutorial stops floating while the settings window is in
// front of it, and floats again once the user turns back to it or the settings window closes.
class FloatingTutorial : public QObject {
public:
    // Makes `tutorial` float; call before it is first shown.
    explicit FloatingTutorial(QWidget* tutorial);

    // `settings` is about to be brought in front of the tutorial.
    void giveWayTo(QWidget* settings);
    void floatAgain() { setFloating(true); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void setFloating(bool floating);

    QPointer<QWidget> tutorial_;
    QPointer<QWidget> settings_;
};

} // namespace zentaris
