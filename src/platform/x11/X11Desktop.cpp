#include "platform/x11/X11Desktop.h"

#include <unistd.h>

namespace platform::x11 {

std::unique_ptr<X11Desktop> X11Desktop::open(MainQueue& queue, Options options) {
    auto connection = X11Connection::open(options.displayName);
    if (!connection) return nullptr;
    return over(std::move(connection), queue, std::move(options));
}

std::unique_ptr<X11Desktop> X11Desktop::over(std::unique_ptr<X11Connection> connection, MainQueue& queue, Options options) {
    return std::unique_ptr<X11Desktop>(new X11Desktop(std::move(connection), queue, std::move(options)));
}

X11Desktop::X11Desktop(std::unique_ptr<X11Connection> connection, MainQueue& queue, Options options)
    : connection_(std::move(connection)), queue_(queue) {
    const ProcessId ownPid = options.ownPid != 0 ? options.ownPid : static_cast<ProcessId>(::getpid());
    look_ = std::make_unique<X11Look>(*connection_, &queue);
    clients_ = std::make_unique<X11Clients>(*connection_, ownPid, *look_);
    monitors_ = std::make_unique<X11Monitors>(*connection_, *clients_);
    mover_ = std::make_unique<X11WindowMover>(*connection_, *clients_, *monitors_);
    accessibility_ = std::make_unique<X11Accessibility>(*clients_, *mover_);
    screens_ = std::make_unique<X11ScreenProvider>(*connection_, *clients_, *monitors_, queue);
    workspace_ = std::make_unique<X11Workspace>(*clients_, *mover_, std::move(options.openUrl),
                                                std::move(options.openMailto));
}

} // namespace platform::x11
