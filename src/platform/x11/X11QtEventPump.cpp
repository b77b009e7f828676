#include "platform/x11/X11QtEventPump.h"

#include <QAbstractEventDispatcher>

namespace platform::x11 {

X11QtEventPump::X11QtEventPump(X11Connection& connection)
    : connection_(connection),
      notifier_(std::make_unique<QSocketNotifier>(connection.fileDescriptor(), QSocketNotifier::Read)) {
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, &context_, [this] {
        connection_.pump();
        // A closed socket stays readable: without this the loop would spin once the server is gone.
        if (!connection_.isConnected()) notifier_->setEnabled(false);
    });
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, &context_, [this] {
            connection_.pump();
            connection_.flush();
        });
    }
}

X11QtEventPump::~X11QtEventPump() = default;

} // namespace platform::x11
