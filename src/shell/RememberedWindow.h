#pragma once

#include "platform/UserDefaults.h"

#include <QTimer>
#include <QWidget>

#include <optional>
#include <string>

namespace zentaris {

// A window that remembers where the user left it, under a defaults key: once a move or resize
// has settled, when it is closed and when the application quits with it open.
class RememberedWindow : public QWidget {
public:
    // How long the frame must stay still before it is saved: a drag is one save, not hundreds.
    static constexpr int settleMilliseconds = 500;

    RememberedWindow(platform::UserDefaults& defaults, std::string key);

    // Restores the saved frame when it is one a window can have and, title bar and borders
    // included, fits the area a screen leaves to windows; otherwise, or when it turns out not to
    // fit once the window is shown and framed, the window keeps the place and size it had before.
    // False when there is no frame that fits the window alone.
    bool restoreFrame();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void saveFrame();

    platform::UserDefaults& defaults_;
    std::string key_;
    QTimer settled_;
    // Where the window was before the saved frame was restored, until that frame is seen to fit
    // with the window manager's decorations.
    std::optional<QRect> unrestored_;
};

} // namespace zentaris
