#include "preferences/TextFormat.h"

#include <cctype>
#include <optional>

namespace zentaris {

namespace {

struct Placeholder {
    std::size_t length; // characters after the '%'
    std::optional<std::size_t> position; // 1-based, when numbered
    bool integer;
};

// Reads a placeholder starting right after a '%'; nothing when there is none we fill.
std::optional<Placeholder> readPlaceholder(const std::string& format, std::size_t start) {
    std::size_t i = start;
    std::optional<std::size_t> position;
    std::size_t digits = 0;
    std::size_t number = 0;
    while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i])) && digits < 3) {
        number = number * 10 + static_cast<std::size_t>(format[i] - '0');
        ++i;
        ++digits;
    }
    if (digits > 0) {
        if (i >= format.size() || format[i] != '$' || number == 0) return std::nullopt;
        position = number;
        ++i;
    }
    if (i < format.size() && format[i] == '@') return Placeholder{i + 1 - start, position, false};
    std::size_t longs = 0;
    while (i < format.size() && format[i] == 'l' && longs < 2) {
        ++i;
        ++longs;
    }
    if (i < format.size() && (format[i] == 'd' || format[i] == 'i')) return Placeholder{i + 1 - start, position, true};
    return std::nullopt;
}

} // namespace

std::string formatText(const std::string& format, const std::vector<FormatArgument>& arguments) {
    std::string out;
    out.reserve(format.size());
    std::size_t nextArgument = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') {
            out += format[i];
            continue;
        }
        if (i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
            continue;
        }
        const auto placeholder = readPlaceholder(format, i + 1);
        if (!placeholder) {
            out += '%';
            continue;
        }
        const std::size_t index = placeholder->position ? *placeholder->position - 1 : nextArgument;
        const std::string written = format.substr(i, placeholder->length + 1);
        if (!placeholder->position) ++nextArgument;
        i += placeholder->length;
        if (index >= arguments.size()) {
            out += written;
            continue;
        }
        const auto& argument = arguments[index];
        if (placeholder->integer && std::holds_alternative<std::int64_t>(argument)) {
            out += std::to_string(std::get<std::int64_t>(argument));
        } else if (!placeholder->integer && std::holds_alternative<std::string>(argument)) {
            out += std::get<std::string>(argument);
        } else {
            out += written;
        }
    }
    return out;
}

} // namespace zentaris
