#include "platform/Bundle.h"
#include "support/NamedPipe.h"
#include "support/OffscreenApplication.h"
#include "support/TemporaryDirectory.h"
#include "views/PictureFile.h"
#include "views/SymbolImage.h"

#include <gtest/gtest.h>

using zentaris::testing::NamedPipe;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::writeFile;

TEST(PictureFile, APictureThatIsANamedPipeOrHugeIsLeftOutWithoutWaiting) {
    zentaris::testing::offscreenApplication();
    TemporaryDirectory dir;
    const std::string square = R"(<svg xmlns="http://www.w3.org/2000/svg" width="16" height="16">)"
                               R"(<rect width="16" height="16"/></svg>)";
    writeFile(dir / "icons" / "square.svg", square);
    writeFile(dir / "icons" / "huge.svg", square + std::string(zentaris::maxPictureFileBytes, ' '));
    const NamedPipe pipe(dir / "icons" / "pipe.svg");
    const platform::Bundle previous = platform::Bundle::main();
    platform::Bundle::setMain(platform::Bundle(dir.path(), std::nullopt));

    EXPECT_FALSE(zentaris::symbolPixmap("square", 16, Qt::black).isNull());
    EXPECT_TRUE(zentaris::symbolPixmap("huge", 16, Qt::black).isNull());
    QPixmap fromPipe;
    EXPECT_TRUE(pipe.returnsWithin(std::chrono::seconds(3), [&] { fromPipe = zentaris::symbolPixmap("pipe", 16, Qt::black); }));
    EXPECT_TRUE(fromPipe.isNull());
    platform::Bundle::setMain(previous);
}
