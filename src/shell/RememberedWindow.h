#pragma once

#include "platform/UserDefaults.h"

#include <QTimer>
#include <QWidget>

#include <string>

namespace zentaris {

// A window that remembers where the user left it, under a defaults key: once a move or resize
// has settled, when it is closed and when the application quits with it open.
class RememberedWindow : public QWidget {
public:
    // How long the frame must stay still before it is saved: a drag is one save, not hundreds.
    static constexpr int settleMilliseconds = 500;

    RememberedWindow(platform::UserDefaults& defaults, std::string key);

    // Restores the saved frame when it is one a window can have and still lies on a screen; false
    // (the window left as it is) when there is none.
    bool restoreFrame();

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void saveFrame();

    platform::UserDefaults& defaults_;
    std::string key_;
    QTimer settled_;
};

} // namespace zentaris
