#pragma once

// Fuzz input read as the 32-bit values X properties are made of (little endian), with the few
// helpers the X geometry fuzzers share.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace zentaris::fuzzing {

class X11Values {
public:
    X11Values(const std::uint8_t* data, std::size_t size) {
        for (std::size_t at = 0; at + 4 <= size; at += 4) {
            std::uint32_t v;
            std::memcpy(&v, data + at, 4);
            values_.push_back(v);
        }
    }
    bool empty() const { return next_ >= values_.size(); }
    // The next value, 0 past the end.
    std::uint32_t next() { return empty() ? 0 : values_[next_++]; }
    // The next value brought into [low, high].
    std::uint32_t next(std::uint32_t low, std::uint32_t high) { return low + next() % (high - low + 1); }
    // The next `count` values, fewer past the end.
    std::vector<std::uint32_t> take(std::size_t count) {
        std::vector<std::uint32_t> out;
        while (out.size() < count && !empty()) out.push_back(next());
        return out;
    }
    // The next value as any double, not-a-number and infinities included.
    double nextDouble() {
        const std::uint64_t bits = (std::uint64_t{next()} << 32) | next();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }

private:
    std::vector<std::uint32_t> values_;
    std::size_t next_ = 0;
};

} // namespace zentaris::fuzzing
