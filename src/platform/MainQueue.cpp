#include "platform/MainQueue.h"

#include <stdexcept>

namespace platform {

namespace {
MainQueue* mainQueue = nullptr;
}

MainQueue& MainQueue::main() {
    if (!mainQueue) throw std::logic_error("MainQueue::main() used before a queue was installed");
    return *mainQueue;
}

void MainQueue::installMain(MainQueue* queue) { mainQueue = queue; }

} // namespace platform
