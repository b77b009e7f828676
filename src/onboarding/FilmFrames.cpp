#include "onboarding/FilmFrames.h"

#include <cstring>

namespace zentaris::tutorial::film_wire {

namespace {

constexpr char pictureTag = 'F', unplayableTag = 'E';

// A picture's header: tag, width, height, showing, position; little-endian as on both ends.
struct Header {
    std::uint32_t width, height, showing;
    std::int64_t position;
};
constexpr std::size_t headerSize = 1 + sizeof(std::uint32_t) * 3 + sizeof(std::int64_t);

template <typename T>
void put(std::string& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

template <typename T>
T take(const char*& in) {
    T value;
    std::memcpy(&value, in, sizeof(T));
    in += sizeof(T);
    return value;
}

} // namespace

std::string encodePicture(const QImage& source, std::int64_t positionMilliseconds, std::uint32_t showing) {
    const QImage image = source.format() == QImage::Format_RGB32 ? source : source.convertToFormat(QImage::Format_RGB32);
    const auto width = static_cast<std::uint32_t>(image.width()), height = static_cast<std::uint32_t>(image.height());
    const std::size_t row = static_cast<std::size_t>(width) * 4;
    std::string out;
    out.reserve(headerSize + row * height);
    out.push_back(pictureTag);
    put(out, width);
    put(out, height);
    put(out, showing);
    put(out, positionMilliseconds);
    for (int y = 0; y < image.height(); ++y) out.append(reinterpret_cast<const char*>(image.constScanLine(y)), row);
    return out;
}

std::string encodeUnplayable() { return std::string(1, unplayableTag); }

void Reader::append(const char* data, std::size_t size) {
    if (corrupt_) return;
    // What was read is dropped before the buffer grows, so it never holds more than a picture and a piece.
    if (start_ > 0) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(data, size);
}

std::optional<Reader::Message> Reader::next() {
    if (corrupt_ || start_ >= buffer_.size()) return std::nullopt;
    const char* in = buffer_.data() + start_;
    const std::size_t available = buffer_.size() - start_;
    if (*in == unplayableTag) {
        ++start_;
        return Unplayable{};
    }
    if (*in != pictureTag) {
        corrupt_ = true;
        return std::nullopt;
    }
    if (available < headerSize) return std::nullopt;
    ++in;
    Header header{};
    header.width = take<std::uint32_t>(in);
    header.height = take<std::uint32_t>(in);
    header.showing = take<std::uint32_t>(in);
    header.position = take<std::int64_t>(in);
    if (header.width == 0 || header.height == 0 || header.width > largestSide || header.height > largestSide) {
        corrupt_ = true;
        return std::nullopt;
    }
    const std::size_t row = static_cast<std::size_t>(header.width) * 4;
    const std::size_t pixels = row * header.height;
    if (available < headerSize + pixels) return std::nullopt;
    Picture picture;
    picture.image = QImage(static_cast<int>(header.width), static_cast<int>(header.height), QImage::Format_RGB32);
    for (std::uint32_t y = 0; y < header.height; ++y) std::memcpy(picture.image.scanLine(static_cast<int>(y)), in + y * row, row);
    picture.positionMilliseconds = header.position;
    picture.showing = header.showing;
    start_ += headerSize + pixels;
    if (start_ == buffer_.size()) {
        buffer_.clear();
        start_ = 0;
    }
    return picture;
}

} // namespace zentaris::tutorial::film_wire
