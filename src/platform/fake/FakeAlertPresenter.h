#pragma once

#include "platform/AlertPresenter.h"

#include <vector>

namespace platform::fake {

// Keeps every alert open until the test picks a button.
class FakeAlertPresenter : public AlertPresenter {
public:
    void present(Alert alert, Response onResponse) override;

    // Every alert shown, in order.
    const std::vector<Alert>& presented() const { return presented_; }
    std::size_t openCount() const { return open_.size(); }

    // Ends the oldest open alert with a button (or nothing for a close); false when none is open.
    bool respond(std::optional<std::size_t> buttonIndex);

private:
    std::vector<Alert> presented_;
    std::vector<Response> open_;
};

} // namespace platform::fake
