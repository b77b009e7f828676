#include "platform/fake/FakeAlertPresenter.h"

namespace platform::fake {

void FakeAlertPresenter::present(Alert alert, Response onResponse) {
    presented_.push_back(std::move(alert));
    open_.push_back(std::move(onResponse));
}

bool FakeAlertPresenter::respond(std::optional<std::size_t> buttonIndex) {
    if (open_.empty()) return false;
    auto response = std::move(open_.front());
    open_.erase(open_.begin());
    if (response) response(buttonIndex);
    return true;
}

} // namespace platform::fake
