#pragma once

#include "platform/AlertPresenter.h"

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

namespace platform::qt {

// Alerts as message boxes. Texts are set as plain text on every label, so markup from a server or
// a user is shown as written and links are never followed.
class QtAlertPresenter : public QObject, public AlertPresenter {
public:
    // The window alerts belong to while it is shown: an alert stays above it until dismissed and
    // takes its input meanwhile, so a click there neither hides the alert nor changes anything
    // behind it. Asked at each alert; an alert told while there is no such window is its own
    // until the window is shown, and then belongs to it.
    void setOwnerQuery(std::function<QWidget*()> owner) { owner_ = std::move(owner); }

    void present(Alert alert, Response onResponse) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* shownOwner() const;
    void adoptWhenOwnerShown(QMessageBox* box);

    std::function<QWidget*()> owner_;
    std::vector<QPointer<QMessageBox>> orphans_; // open alerts the owner takes once shown
};

} // namespace platform::qt
