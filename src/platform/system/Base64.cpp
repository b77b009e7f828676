#include "platform/system/Base64.h"

#include <array>

namespace platform {

namespace {
constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}
} // namespace

std::string base64Encode(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::uint32_t chunk = (std::uint32_t(bytes[i]) << 16)
                                  | (i + 1 < bytes.size() ? std::uint32_t(bytes[i + 1]) << 8 : 0)
                                  | (i + 2 < bytes.size() ? std::uint32_t(bytes[i + 2]) : 0);
        out += alphabet[(chunk >> 18) & 63];
        out += alphabet[(chunk >> 12) & 63];
        out += i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? alphabet[chunk & 63] : '=';
    }
    return out;
}

std::optional<std::vector<std::uint8_t>> base64Decode(const std::string& text) {
    if (text.size() % 4 != 0) return std::nullopt;
    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        std::array<int, 4> s{};
        int padding = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text[i + k];
            if (c == '=' && last && k >= 2) {
                ++padding;
                s[k] = 0;
                continue;
            }
            if (padding > 0) return std::nullopt; // data after padding
            s[k] = sextet(c);
            if (s[k] < 0) return std::nullopt;
        }
        const std::uint32_t chunk = (s[0] << 18) | (s[1] << 12) | (s[2] << 6) | s[3];
        out.push_back(std::uint8_t(chunk >> 16));
        if (padding < 2) out.push_back(std::uint8_t(chunk >> 8));
        if (padding < 1) out.push_back(std::uint8_t(chunk));
    }
    return out;
}

} // namespace platform
