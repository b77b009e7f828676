#pragma once

namespace platform {

// From this call on, standard error that fails neither ends the process nor silences it. A reader
// that went away (a closed pipe, a log collector that ended) raises no SIGPIPE, which would end
// the program and lose what it has not saved; programs it starts still get the default. std::cerr
// writes each line in one write, straight to descriptor 2, and a line that cannot be written (a
// full disk, a closed pipe) is dropped: the next one is tried anew. Call it before any thread runs.
void writeStandardErrorLineByLine();

} // namespace platform
