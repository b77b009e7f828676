#include "shortcuts/qt/LocalEventMonitor.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QObject>

namespace GlobalShortcuts {

class LocalEventMonitor::Filter : public QObject {
public:
    Filter(std::set<QEvent::Type> types, Handler handler) : types_(std::move(types)), handler_(std::move(handler)) {}

    void stop() { handler_ = nullptr; }

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (!handler_ || !types_.count(event->type())) return false;
        // A key press that a shortcut would claim never becomes a key press; take it first.
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        // Copied, so the handler may drop the monitor.
        auto handler = handler_;
        return handler(receiver, event);
    }

private:
    std::set<QEvent::Type> types_;
    Handler handler_;
};

LocalEventMonitor::LocalEventMonitor(std::initializer_list<QEvent::Type> types, Handler handler) {
    std::set<QEvent::Type> watched(types);
    if (watched.count(QEvent::KeyPress)) watched.insert(QEvent::ShortcutOverride);
    filter_ = new Filter(std::move(watched), std::move(handler));
    if (auto* application = QCoreApplication::instance()) application->installEventFilter(filter_);
}

LocalEventMonitor::~LocalEventMonitor() {
    filter_->stop();
    if (auto* application = QCoreApplication::instance()) application->removeEventFilter(filter_);
    filter_->deleteLater();
}

} // namespace GlobalShortcuts
