#include "settings/DeferredRefresh.h"

#include "preferences/LanguageManager.h"

#include <QMetaObject>

namespace zentaris {

DeferredRefresh::DeferredRefresh(QObject* owner, std::function<void()> refresh)
    : QObject(owner), refresh_(std::move(refresh)) {}

DeferredRefresh& DeferredRefresh::watch(Signal<>& willChange) {
    tokens_.push_back(willChange.subscribe([this] { schedule(); }));
    return *this;
}

DeferredRefresh& DeferredRefresh::watch(platform::UserDefaults& defaults, const std::string& key) {
    tokens_.push_back(defaults.observe(key, [this] { schedule(); }));
    return *this;
}

DeferredRefresh& DeferredRefresh::watch(platform::NotificationCenter& notifications, const std::string& name) {
    tokens_.push_back(notifications.addObserver(name, [this](const platform::Notification&) { schedule(); }));
    return *this;
}

void DeferredRefresh::schedule() {
    if (pending_) return;
    pending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            pending_ = false;
            refresh_();
        },
        Qt::QueuedConnection);
}

DeferredRefresh& refreshOnLanguageChange(QObject* owner, std::function<void()> refresh) {
    auto* refresher = new DeferredRefresh(owner, std::move(refresh));
    return refresher->watch(LanguageManager::shared().objectWillChange());
}

} // namespace zentaris
