#pragma once

#include <functional>

namespace zentaris {

// The last try to save the settings, made once however the process ends: by main once the event
// loop is over, or at exit() when Qt ends the process itself because the X server went away. At
// exit() main's locals are still alive, so `save` may refer to them. One at a time per process.
class SaveAtExit {
public:
    explicit SaveAtExit(std::function<void()> save);
    ~SaveAtExit();
    SaveAtExit(const SaveAtExit&) = delete;
    SaveAtExit& operator=(const SaveAtExit&) = delete;

    // Saves, unless that was done already.
    void run();

private:
    std::function<void()> save_;
    bool done_ = false;
};

} // namespace zentaris
