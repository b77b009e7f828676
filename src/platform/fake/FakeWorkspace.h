#pragma once

#include "platform/Workspace.h"

#include <optional>
#include <string>
#include <vector>

namespace platform::fake {

// Running applications a test sets up; records activations and opened addresses.
class FakeWorkspace : public Workspace {
public:
    std::optional<RunningApplication> frontmostApplication() const override;
    std::vector<RunningApplication> runningApplications() const override { return applications_; }
    // Makes a running application frontmost; false for an unknown process.
    bool activate(ProcessId pid) override;
    bool openURL(const std::string& url) override;

    // A new application with the next free process identifier (from 100 up) unless one is given.
    RunningApplication addApplication(const std::string& name = "", ActivationPolicy policy = ActivationPolicy::regular,
                                      std::optional<ProcessId> pid = std::nullopt);
    void quit(ProcessId pid);
    void setFrontmost(std::optional<ProcessId> pid) { frontmost_ = pid; }
    void setOpenURLResult(bool opens) { opensURLs_ = opens; }

    const std::vector<ProcessId>& activations() const { return activations_; }
    const std::vector<std::string>& openedURLs() const { return openedURLs_; }

private:
    std::vector<RunningApplication> applications_;
    std::optional<ProcessId> frontmost_;
    ProcessId nextPid_ = 100;
    bool opensURLs_ = true;
    std::vector<ProcessId> activations_;
    std::vector<std::string> openedURLs_;
};

} // namespace platform::fake
