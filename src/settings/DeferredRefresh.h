#pragma once

#include "platform/NotificationCenter.h"
#include "platform/ObservationToken.h"
#include "platform/UserDefaults.h"
#include "preferences/Observable.h"

#include <QObject>

#include <functional>
#include <string>
#include <vector>

namespace zentaris {

// Redraws a widget after the models it shows have changed. The models announce a change before
// it takes effect, so the refresh runs on the next turn of the event loop; several announcements
// in one turn refresh once. Lives as a child of the widget, so nothing runs after it is gone.
class DeferredRefresh : public QObject {
public:
    DeferredRefresh(QObject* owner, std::function<void()> refresh);

    DeferredRefresh& watch(Signal<>& willChange);
    DeferredRefresh& watch(platform::UserDefaults& defaults, const std::string& key);
    DeferredRefresh& watch(platform::NotificationCenter& notifications, const std::string& name);

    void schedule();

private:
    std::function<void()> refresh_;
    std::vector<platform::ObservationToken> tokens_;
    bool pending_ = false;
};

// Runs `refresh` after every change of the interface language while `owner` lives.
DeferredRefresh& refreshOnLanguageChange(QObject* owner, std::function<void()> refresh);

} // namespace zentaris
