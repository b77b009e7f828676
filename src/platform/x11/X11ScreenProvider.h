#pragma once

#include "platform/MainQueue.h"
#include "platform/Screens.h"
#include "platform/x11/X11Monitors.h"

#include <map>
#include <memory>

namespace platform::x11 {

// Screens from RandR monitors, their usable areas from the panels' struts and the desktop's work
// areas, the pointer from the server, and one notification per burst of changes.
class X11ScreenProvider : public ScreenProvider {
public:
    // Changes closer together than this are one burst.
    static constexpr double burstInterval = 0.1;

    X11ScreenProvider(X11Connection& connection, X11Clients& clients, X11Monitors& monitors, MainQueue& queue);
    ~X11ScreenProvider() override;

    std::vector<Screen> screens() const override;
    std::optional<Screen> mainScreen() const override;
    Point mouseLocation() const override;
    bool displayIsBuiltin(std::uint32_t displayNumber) const override;
    [[nodiscard]] ObservationToken observeScreenParameters(std::function<void()> onChange) override;

private:
    struct Observers {
        std::uint64_t nextId = 1;
        std::map<std::uint64_t, std::function<void()>> byId;
    };
    void startWatching();
    void changeSeen();
    void endOfBurst();

    X11Connection& connection_;
    X11Clients& clients_;
    X11Monitors& monitors_;
    MainQueue& queue_;
    std::shared_ptr<Observers> observers_;
    bool watching_ = false;
    ScheduledTask burst_;
    std::vector<Screen> lastScreens_;
};

} // namespace platform::x11
