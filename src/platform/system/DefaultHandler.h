#pragma once

#include <string>

namespace platform {

enum class HandlerLaunch { started, noHandler, failedToStart, tooLong };

// Starts the program the desktop names as the default for the address's scheme (its
// x-scheme-handler association), with the address as its argument. Only `started` means a program
// now has the address: a desktop without one, one that cannot be run, or an address longer than a
// program's command line takes, is reported as such.
HandlerLaunch launchDefaultHandler(const std::string& url);

} // namespace platform
