#include "shell/SaveAtExit.h"

#include <cstdlib>
#include <utility>

namespace zentaris {

namespace {

SaveAtExit* pending = nullptr;

void runPendingAtExit() {
    if (pending) pending->run();
}

} // namespace

SaveAtExit::SaveAtExit(std::function<void()> save) : save_(std::move(save)) {
    static const bool hooked = std::atexit(runPendingAtExit) == 0;
    (void)hooked;
    pending = this;
}

SaveAtExit::~SaveAtExit() {
    if (pending == this) pending = nullptr;
}

void SaveAtExit::run() {
    if (std::exchange(done_, true)) return;
    if (save_) save_();
}

} // namespace zentaris
