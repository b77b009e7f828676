#pragma once

#include "support/PrivateDisplay.h"
#include "support/TemporaryDirectory.h"

#include <xcb/xcb.h>

#include <optional>
#include <string>

namespace zentaris::bench {

// A configuration folder in which the program starts without its tutorial and without an update
// check, so that nothing but the measured work happens.
class QuietConfig {
public:
    QuietConfig();
    // The program's command line on a display: env XDG_CONFIG_HOME=... <binary>.
    std::vector<std::string> command(const std::string& binary) const;
    std::string defaultsFile() const;

private:
    testing::TemporaryDirectory folder_;
};

// The first managed client window of process `pid` (_NET_WM_PID in _NET_CLIENT_LIST), waiting up to
// `seconds` for it.
std::optional<xcb_window_t> waitForClientOf(xcb_connection_t* connection, pid_t pid, double seconds);

// The atom of `name`, interned; XCB_ATOM_NONE when the server gives none.
xcb_atom_t internAtom(xcb_connection_t* connection, const char* name);

// Runs `argv` with DISPLAY set to `display` without waiting; the child's process id.
pid_t startProcess(const std::vector<std::string>& argv, const std::string& display);

} // namespace zentaris::bench
