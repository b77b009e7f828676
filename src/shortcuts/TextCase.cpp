#include "shortcuts/TextCase.h"

#include <cwctype>
#include <locale>
#include <vector>

namespace GlobalShortcuts {

namespace {

constexpr char32_t replacement = 0xFFFD;

std::vector<char32_t> decode(const std::string& utf8) {
    std::vector<char32_t> scalars;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > utf8.size()) {
            scalars.push_back(replacement);
            ++i;
            continue;
        }
        char32_t scalar = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = true;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(utf8[i + k]);
            if ((next & 0xC0) != 0x80) valid = false;
            scalar = (scalar << 6) | (next & 0x3F);
        }
        scalars.push_back(valid ? scalar : replacement);
        i += valid ? length : 1;
    }
    return scalars;
}

std::string encode(const std::vector<char32_t>& scalars) {
    std::string utf8;
    for (char32_t c : scalars) {
        if (c < 0x80) {
            utf8 += static_cast<char>(c);
        } else if (c < 0x800) {
            utf8 += static_cast<char>(0xC0 | (c >> 6));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (c >> 12));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (c >> 18));
            utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return utf8;
}

// Case mapping beyond ASCII needs a Unicode locale; without one only ASCII letters change.
const std::ctype<wchar_t>* unicodeCase() {
    static const std::ctype<wchar_t>* facet = []() -> const std::ctype<wchar_t>* {
        try {
            static const std::locale locale("C.UTF-8");
            return &std::use_facet<std::ctype<wchar_t>>(locale);
        } catch (const std::exception&) {
            return nullptr;
        }
    }();
    return facet;
}

char32_t changeCase(char32_t c, bool upper) {
    if (c < 0x80) {
        if (upper && c >= 'a' && c <= 'z') return c - 'a' + 'A';
        if (!upper && c >= 'A' && c <= 'Z') return c - 'A' + 'a';
        return c;
    }
    const auto* facet = unicodeCase();
    if (!facet) return c;
    const auto wide = static_cast<wchar_t>(c);
    return static_cast<char32_t>(upper ? facet->toupper(wide) : facet->tolower(wide));
}

bool isSpace(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0xA0; }

} // namespace

std::string capitalized(const std::string& utf8) {
    auto scalars = decode(utf8);
    bool atWordStart = true;
    for (auto& c : scalars) {
        if (isSpace(c)) {
            atWordStart = true;
            continue;
        }
        c = changeCase(c, atWordStart);
        atWordStart = false;
    }
    return encode(scalars);
}

std::size_t scalarCount(const std::string& utf8) { return decode(utf8).size(); }

} // namespace GlobalShortcuts
