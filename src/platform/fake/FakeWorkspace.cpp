#include "platform/fake/FakeWorkspace.h"

#include <algorithm>

namespace platform::fake {

std::optional<RunningApplication> FakeWorkspace::frontmostApplication() const {
    if (!frontmost_) return std::nullopt;
    auto it = std::find_if(applications_.begin(), applications_.end(),
                           [&](const RunningApplication& app) { return app.processIdentifier == *frontmost_; });
    if (it == applications_.end()) return std::nullopt;
    return *it;
}

bool FakeWorkspace::activate(ProcessId pid) {
    activations_.push_back(pid);
    const bool running = std::any_of(applications_.begin(), applications_.end(),
                                     [&](const RunningApplication& app) { return app.processIdentifier == pid; });
    if (running) frontmost_ = pid;
    return running;
}

bool FakeWorkspace::openURL(const std::string& url) {
    openedURLs_.push_back(url);
    return opensURLs_;
}

RunningApplication FakeWorkspace::addApplication(const std::string& name, ActivationPolicy policy,
                                                 std::optional<ProcessId> pid) {
    const ProcessId chosen = pid.value_or(nextPid_);
    nextPid_ = std::max(nextPid_, chosen + 1);
    RunningApplication app{chosen, policy, name.empty() ? "App " + std::to_string(chosen) : name};
    applications_.push_back(app);
    return app;
}

void FakeWorkspace::quit(ProcessId pid) {
    std::erase_if(applications_, [&](const RunningApplication& app) { return app.processIdentifier == pid; });
    if (frontmost_ == pid) frontmost_.reset();
}

} // namespace platform::fake
