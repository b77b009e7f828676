#include "platform/system/JsonOverflowingNumbers.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <utility>

namespace platform {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of the JSON number at `start` (-?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)?), 0 when
// none starts there.
std::size_t numberLength(std::string_view text, std::size_t start) {
    std::size_t i = start;
    const auto digitsFrom = [&text](std::size_t at) {
        std::size_t end = at;
        while (end < text.size() && isDigit(text[end])) ++end;
        return end;
    };
    if (i < text.size() && text[i] == '-') ++i;
    if (i >= text.size() || !isDigit(text[i])) return 0;
    i = text[i] == '0' ? i + 1 : digitsFrom(i);
    if (i + 1 < text.size() && text[i] == '.' && isDigit(text[i + 1])) i = digitsFrom(i + 1);
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t exponent = i + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
        if (exponent < text.size() && isDigit(text[exponent])) i = digitsFrom(exponent);
    }
    return i - start;
}

bool overflowsDouble(std::string_view number) {
    // Without an exponent, 308 characters hold at most 308 digits, below the largest double (1.8e308).
    if (number.size() <= 308 && number.find_first_of("eE") == std::string_view::npos) return false;
    // Read the way the parser reads it, whatever the program's locale says a decimal point is.
    static const locale_t plain = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    const std::string text(number);
    return std::isinf(::strtod_l(text.c_str(), nullptr, plain));
}

} // namespace

JsonScan scanJson(std::string_view json, int maximumNesting) {
    JsonScan scan;
    std::string result;
    std::size_t copiedUpTo = 0;
    bool inString = false;
    int depth = 0;
    for (std::size_t i = 0; i < json.size();) {
        const char c = json[i];
        if (inString) {
            if (c == '\\') i += 2;
            else {
                inString = c != '"';
                ++i;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
            ++i;
            continue;
        }
        if (c == '[' || c == '{') {
            if (++depth > maximumNesting) {
                scan.tooDeep = true;
                return scan;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
        const std::size_t length = c == '-' || isDigit(c) ? numberLength(json, i) : 0;
        if (length == 0) {
            ++i;
            continue;
        }
        if (overflowsDouble(json.substr(i, length))) {
            result.append(json.substr(copiedUpTo, i - copiedUpTo)).append("null");
            copiedUpTo = i + length;
        }
        i += length;
    }
    if (copiedUpTo == 0) return scan;
    result.append(json.substr(copiedUpTo));
    scan.inRange = std::move(result);
    return scan;
}

} // namespace platform
