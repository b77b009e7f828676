#include "platform/system/FolderLock.h"
#include "platform/system/SettingsStoreTestSupport.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>
#include <time.h>

using platform::FolderLock;
using zentaris::testing::StuckLockHolder;
using zentaris::testing::TemporaryDirectory;

namespace {
// Whether a pause of a fifth of a second runs to its end, uninterrupted by any signal.
bool pauseRunsUninterrupted() {
    const timespec pause{0, 200 * 1000 * 1000};
    return ::nanosleep(&pause, nullptr) == 0;
}
} // namespace

TEST(FolderLock, AWaitLeavesNothingBehindToInterruptTheProgramWhetherItEndsInTheLockOrNot) {
    TemporaryDirectory dir;
    {
        const StuckLockHolder holder(dir.path());
        const FolderLock lock(dir.path(), std::chrono::milliseconds(100));
        EXPECT_TRUE(lock.timedOut());
    }
    EXPECT_TRUE(pauseRunsUninterrupted()) << "after a wait that ran out";

    auto holder = std::make_unique<StuckLockHolder>(dir.path());
    std::thread lettingGo([&holder] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        holder.reset();
    });
    {
        const FolderLock lock(dir.path());
        EXPECT_FALSE(lock.timedOut());
    }
    lettingGo.join();
    EXPECT_TRUE(pauseRunsUninterrupted()) << "after a wait that ended in the lock";
}
