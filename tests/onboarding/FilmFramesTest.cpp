// The pictures the film player sends, read back as the program receives them.
#include "onboarding/FilmFrames.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace zentaris::tutorial::film_wire;

namespace {

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x * 7 % 256, y * 11 % 256, (x + y) % 256));
    }
    return image;
}

TEST(FilmFramesTest, PicturesArrivingInPiecesOfAnySizeComeOutWholeAndInOrder) {
    const QImage first = gradient(6, 3), second = gradient(5, 4).convertToFormat(QImage::Format_ARGB32);
    const std::string stream = encodePicture(first, 40, 1) + encodePicture(second, 1040, 2) + encodeUnplayable();
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, stream.size()}) {
        SCOPED_TRACE(piece);
        Reader reader;
        std::vector<Reader::Message> messages;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            reader.append(stream.data() + at, std::min(piece, stream.size() - at));
            while (auto message = reader.next()) messages.push_back(*message);
        }
        ASSERT_EQ(messages.size(), 3u);
        const auto& a = std::get<Picture>(messages[0]);
        EXPECT_EQ(a.image, first);
        EXPECT_EQ(a.positionMilliseconds, 40);
        EXPECT_EQ(a.showing, 1u);
        const auto& b = std::get<Picture>(messages[1]);
        EXPECT_EQ(b.image, second.convertToFormat(QImage::Format_RGB32)) << "other formats are sent as RGB32";
        EXPECT_EQ(b.positionMilliseconds, 1040);
        EXPECT_EQ(b.showing, 2u);
        EXPECT_TRUE(std::holds_alternative<Unplayable>(messages[2]));
        EXPECT_FALSE(reader.corrupt());
        EXPECT_EQ(reader.held(), 0u);
    }
}

// A film plays for as long as its page shows: what was read must not stay in memory.
TEST(FilmFramesTest, PicturesReadAreLetGo) {
    const std::string picture = encodePicture(gradient(64, 48), 0, 1);
    const std::string twice = picture + picture;
    Reader reader;
    reader.append(twice.data(), 10);
    // Each piece ends one picture and starts the next.
    for (int i = 0; i < 50; ++i) {
        reader.append(twice.data() + 10, picture.size());
        ASSERT_TRUE(reader.next());
        EXPECT_FALSE(reader.next());
        EXPECT_LE(reader.kept(), picture.size() + 10) << "after picture " << i;
    }
}

// A picture's size is checked before anything is allocated for it; nothing after a bad message is read.
TEST(FilmFramesTest, AnUnknownTagOrANonsensicalSizeStopsTheReader) {
    std::string huge = encodePicture(gradient(2, 2), 0, 1);
    const std::uint32_t side = largestSide + 1;
    std::memcpy(huge.data() + 1, &side, sizeof side);
    std::string empty = encodePicture(gradient(2, 2), 0, 1);
    const std::uint32_t zero = 0;
    std::memcpy(empty.data() + 5, &zero, sizeof zero);
    for (const std::string& bad : {std::string("X"), huge, empty}) {
        Reader reader;
        const std::string stream = bad + encodeUnplayable();
        reader.append(stream.data(), stream.size());
        EXPECT_FALSE(reader.next());
        EXPECT_TRUE(reader.corrupt());
        EXPECT_FALSE(reader.next()) << "read on after a bad message";
    }
}

} // namespace
