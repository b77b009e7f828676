#pragma once

#include "platform/InputMonitor.h"

#include <map>
#include <memory>
#include <set>

namespace platform::fake {

// Desktop input in memory: a test sends events, holds keys and modifiers, and counts beeps.
class FakeInputMonitor : public InputMonitor {
public:
    ObservationToken addGlobalMonitor(InputEventMask mask, Handler handler) override;
    std::uint64_t modifierFlags() const override { return modifierFlags_; }
    bool isKeyDown(std::uint16_t keyCode) const override { return keysDown_.count(keyCode) != 0; }
    void beep() override { ++beeps_; }

    // Hands the event to every monitor whose mask holds its type, in the order they were added.
    void send(const InputEvent& event);
    void setModifierFlags(std::uint64_t flags) { modifierFlags_ = flags; }
    void setKeyDown(std::uint16_t keyCode, bool down);

    int beeps() const { return beeps_; }
    std::size_t monitorCount() const { return monitors_->size(); }

private:
    struct Monitor {
        InputEventMask mask;
        Handler handler;
    };
    std::shared_ptr<std::map<std::uint64_t, Monitor>> monitors_ = std::make_shared<std::map<std::uint64_t, Monitor>>();
    std::uint64_t nextId_ = 1;
    std::uint64_t modifierFlags_ = 0;
    std::set<std::uint16_t> keysDown_;
    int beeps_ = 0;
};

} // namespace platform::fake
