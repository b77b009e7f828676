#include "platform/fake/FakeScreens.h"

namespace platform::fake {

std::optional<Screen> FakeScreens::mainScreen() const {
    if (!mainIndex_ || screens_.empty()) return std::nullopt;
    return *mainIndex_ < screens_.size() ? screens_[*mainIndex_] : screens_.front();
}

ObservationToken FakeScreens::observeScreenParameters(std::function<void()> onChange) {
    const auto id = nextObserver_++;
    observers_->emplace(id, std::move(onChange));
    std::weak_ptr<std::map<std::uint64_t, std::function<void()>>> weak = observers_;
    return ObservationToken([weak, id] {
        if (auto observers = weak.lock()) observers->erase(id);
    });
}

Screen FakeScreens::addScreen(const Screen& screen, bool builtIn) {
    screens_.push_back(screen);
    if (builtIn && screen.displayNumber) builtIn_.insert(*screen.displayNumber);
    return screen;
}

void FakeScreens::setMainScreen(std::optional<std::size_t> index) { mainIndex_ = index; }

void FakeScreens::setBuiltIn(std::uint32_t displayNumber, bool builtIn) {
    if (builtIn) {
        builtIn_.insert(displayNumber);
    } else {
        builtIn_.erase(displayNumber);
    }
}

void FakeScreens::notifyScreenParametersChanged() {
    // Copy first: an observer may stop observing while it runs.
    auto snapshot = *observers_;
    for (auto& [id, onChange] : snapshot) {
        if (observers_->count(id)) onChange();
    }
}

} // namespace platform::fake
