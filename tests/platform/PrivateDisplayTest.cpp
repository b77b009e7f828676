#include "support/PrivateDisplay.h"

#include <gtest/gtest.h>

#include <csignal>

using zentaris::testing::PrivateDisplay;

TEST(PrivateDisplay, StartsServerAndWindowManagerAndLeavesNothingBehind) {
    std::vector<pid_t> started;
    {
        PrivateDisplay display;
        EXPECT_EQ(display.name().front(), ':');
        EXPECT_TRUE(display.windowManagerRunning());
        EXPECT_EQ(display.run({"xdpyinfo"}), 0);
        started = display.processes();
        ASSERT_EQ(started.size(), 2u);
    }
    for (pid_t pid : started) {
        EXPECT_NE(::kill(pid, 0), 0) << "process " << pid << " outlived its display";
    }
}

TEST(PrivateDisplay, TwoDisplaysGetDifferentNumbers) {
    PrivateDisplay first({.windowManager = {}});
    PrivateDisplay second({.windowManager = {}});
    EXPECT_NE(first.name(), second.name());
    EXPECT_FALSE(first.windowManagerRunning());
}
