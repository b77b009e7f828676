#pragma once

#include "platform/AlertPresenter.h"

#include <QWidget>

#include <functional>

namespace platform::qt {

// Alerts as message boxes. Texts are set as plain text on every label, so markup from a server or
// a user is shown as written and links are never followed.
class QtAlertPresenter : public AlertPresenter {
public:
    // The window an alert belongs to while that window is shown: the alert stays above it until
    // dismissed and takes its input meanwhile, so a click there neither hides the alert nor
    // changes anything behind it. Asked at each alert; nothing (or a hidden window) leaves the
    // alert on its own.
    void setOwnerQuery(std::function<QWidget*()> owner) { owner_ = std::move(owner); }

    void present(Alert alert, Response onResponse) override;

private:
    std::function<QWidget*()> owner_;
};

} // namespace platform::qt
