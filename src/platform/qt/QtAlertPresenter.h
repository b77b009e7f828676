#pragma once

#include "platform/AlertPresenter.h"

namespace platform::qt {

// Alerts as application-modal message boxes. Texts are set as plain text on every label, so
// markup from a server or a user is shown as written and links are never followed.
class QtAlertPresenter : public AlertPresenter {
public:
    void present(Alert alert, Response onResponse) override;
};

} // namespace platform::qt
