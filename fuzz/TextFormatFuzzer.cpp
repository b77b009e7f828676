// A translated format text with its arguments. The input is the format, a zero byte, then the
// arguments, each introduced by one byte: 'i' for an integer (eight bytes), anything else for a
// text running to the next zero byte.
#include "preferences/TextFormat.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const char* bytes = reinterpret_cast<const char*>(data);
    const char* end = bytes + size;
    const char* formatEnd = static_cast<const char*>(std::memchr(bytes, '\0', size));
    if (!formatEnd) formatEnd = end;
    const std::string format(bytes, formatEnd);

    std::vector<zentaris::FormatArgument> arguments;
    for (const char* at = formatEnd == end ? end : formatEnd + 1; at < end;) {
        const char kind = *at++;
        if (kind == 'i' && end - at >= 8) {
            std::int64_t value;
            std::memcpy(&value, at, sizeof value);
            at += sizeof value;
            arguments.emplace_back(value);
        } else {
            const char* textEnd = static_cast<const char*>(std::memchr(at, '\0', static_cast<std::size_t>(end - at)));
            if (!textEnd) textEnd = end;
            arguments.emplace_back(std::string(at, textEnd));
            at = textEnd == end ? end : textEnd + 1;
        }
    }
    (void)zentaris::formatText(format, arguments);
    return 0;
}
