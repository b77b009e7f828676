#pragma once

#include <QImage>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace zentaris::tutorial {

// What the film player program and the program that shows its pictures say to each other over a
// pipe each way. The player sends pictures and, once, that the film cannot be played; the program
// sends one-byte commands and acknowledges each picture, so that at most one picture is on its way.
namespace film_wire {

enum Command : char {
    resume = 'r',      // play on from where it stands; pictures from now on carry the next showing's number
    park = 'p',        // back to the first frame, paused
    acknowledge = 'a', // the last picture was taken; the next may come
};

// The largest picture side accepted: our films are 640x480.
inline constexpr std::uint32_t largestSide = 4096;

// A picture of the film as it stood at `positionMilliseconds`, sent during showing number `showing`.
struct Picture {
    QImage image;
    std::int64_t positionMilliseconds = 0;
    std::uint32_t showing = 0;
};
struct Unplayable {};

std::string encodePicture(const QImage& image, std::int64_t positionMilliseconds, std::uint32_t showing);
std::string encodeUnplayable();

// Takes the player's output as it arrives, in pieces of any size, and gives back whole messages.
class Reader {
public:
    using Message = std::variant<Picture, Unplayable>;
    // Adds bytes that arrived.
    void append(const char* data, std::size_t size);
    // The next whole message, if one has arrived.
    std::optional<Message> next();
    // The player sent something that is not a message; nothing after it can be read.
    bool corrupt() const { return corrupt_; }
    // Bytes held that are not yet part of a message given back.
    std::size_t held() const { return buffer_.size() - start_; }
    // Bytes kept in memory, read or not.
    std::size_t kept() const { return buffer_.size(); }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool corrupt_ = false;
};

} // namespace film_wire

} // namespace zentaris::tutorial
