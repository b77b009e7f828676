#pragma once

#include "platform/Screens.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace platform::fake {

// Screens, the pointer and screen-change notices that a test sets up.
class FakeScreens : public ScreenProvider {
public:
    std::vector<Screen> screens() const override { return screens_; }
    // The chosen main screen, else the first; none without screens or after `setMainScreen(nullopt)`.
    std::optional<Screen> mainScreen() const override;
    Point mouseLocation() const override { return mouse_; }
    bool displayIsBuiltin(std::uint32_t displayNumber) const override { return builtIn_.count(displayNumber) > 0; }
    [[nodiscard]] ObservationToken observeScreenParameters(std::function<void()> onChange) override;

    Screen addScreen(const Screen& screen, bool builtIn = false);
    // Replaces the whole configuration; observers are told only by `notifyScreenParametersChanged`.
    void setScreens(std::vector<Screen> screens) { screens_ = std::move(screens); }
    void setMainScreen(std::optional<std::size_t> index);
    void setMouseLocation(Point location) { mouse_ = location; }
    void setBuiltIn(std::uint32_t displayNumber, bool builtIn);
    void notifyScreenParametersChanged();

private:
    std::vector<Screen> screens_;
    std::optional<std::size_t> mainIndex_ = 0;
    Point mouse_;
    std::set<std::uint32_t> builtIn_;
    std::shared_ptr<std::map<std::uint64_t, std::function<void()>>> observers_ =
        std::make_shared<std::map<std::uint64_t, std::function<void()>>>();
    std::uint64_t nextObserver_ = 1;
};

} // namespace platform::fake
