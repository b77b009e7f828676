#pragma once

namespace platform {

// From this call on, standard error that fails neither ends the process nor silences it. A reader
// that went away (a closed pipe, a log collector that ended) raises no SIGPIPE, which would end
// the program and lose what it has not saved; programs it starts still get the default. std::cerr
// writes straight to descriptor 2 and drops what cannot be written (a full disk, a closed pipe),
// so it never goes bad: the next line is tried anew. Call it before any thread runs.
void surviveFailingStandardError();

} // namespace platform
