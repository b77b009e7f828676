#include "platform/system/SmallFileReader.h"
#include "support/NamedPipe.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

using platform::SmallFile;
using platform::readSmallFile;
using zentaris::testing::NamedPipe;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::writeFile;

TEST(SmallFileReader, ReadsRegularFilesWholeUpToTheLimitOnly) {
    TemporaryDirectory dir;
    writeFile(dir / "full", std::string(100, 'x'));
    writeFile(dir / "over", std::string(101, 'x'));
    writeFile(dir / "empty", "");

    EXPECT_EQ(readSmallFile(dir / "full", 100).contents, std::string(100, 'x'));
    EXPECT_TRUE(readSmallFile(dir / "empty", 100));
    const auto over = readSmallFile(dir / "over", 100);
    EXPECT_EQ(over.failure, SmallFile::Failure::tooLarge);
    EXPECT_EQ(platform::describeUnreadFile(dir / "over", over, 100),
              (dir / "over").string() + ": not read, it is larger than 100 bytes");
    EXPECT_EQ(readSmallFile(dir / "absent", 100).failure, SmallFile::Failure::missing);
    EXPECT_EQ(readSmallFile(dir.path(), 100).failure, SmallFile::Failure::notRegularFile);

    // Files of the kernel report no size, yet have contents.
    const auto status = readSmallFile("/proc/self/status", 64 * 1024);
    ASSERT_TRUE(status);
    EXPECT_NE(status.contents.find("Name:"), std::string::npos);
    EXPECT_EQ(readSmallFile("/proc/self/status", 16).failure, SmallFile::Failure::tooLarge);
}

TEST(SmallFileReader, NeverWaitsOnANamedPipeOrADevice) {
    TemporaryDirectory dir;
    const NamedPipe pipe(dir / "pipe");
    SmallFile result;
    ASSERT_TRUE(pipe.returnsWithin(std::chrono::seconds(3), [&] { result = readSmallFile(pipe.path(), 100); }));
    EXPECT_EQ(result.failure, SmallFile::Failure::notRegularFile);
    EXPECT_EQ(readSmallFile("/dev/zero", 100).failure, SmallFile::Failure::notRegularFile);
}
