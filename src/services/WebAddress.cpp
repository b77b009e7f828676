#include "services/WebAddress.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace zentaris {

namespace {

// The longest address a mail path can carry.
constexpr std::size_t maxEmailAddressLength = 254;

bool isAsciiAlphanumeric(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isUnreserved(char c) { return isAsciiAlphanumeric(c) || c == '-' || c == '.' || c == '_' || c == '~'; }

bool isSafeURLCharacter(char c) {
    if (c <= 0x20 || c >= 0x7F) return false;
    static const std::string unsafe = "\\\"<>`{}|^";
    return unsafe.find(c) == std::string::npos;
}

bool isDomainLabel(const std::string& label) {
    if (label.empty() || label.size() > 63 || label.front() == '-' || label.back() == '-') return false;
    return std::all_of(label.begin(), label.end(), [](char c) { return isAsciiAlphanumeric(c) || c == '-'; });
}

bool isDomain(const std::string& domain, bool allowSingleLabel) {
    if (domain.empty() || domain.size() > 253) return false;
    std::size_t labels = 0;
    std::size_t start = 0;
    while (true) {
        const auto dot = domain.find('.', start);
        const auto label = domain.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
        if (!isDomainLabel(label)) return false;
        ++labels;
        if (dot == std::string::npos) break;
        start = dot + 1;
    }
    return allowSingleLabel || labels >= 2;
}

// host[:port], where the host is a domain name or a bracketed IPv6 literal.
bool isAuthority(const std::string& authority) {
    std::string host = authority;
    std::string port;
    if (!host.empty() && host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string::npos || close < 3) return false;
        const auto literal = host.substr(1, close - 1);
        if (!std::all_of(literal.begin(), literal.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) || c == ':' || c == '.'; }))
            return false;
        const auto rest = host.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') return false;
            port = rest.substr(1);
            if (port.empty()) return false;
        }
    } else {
        if (const auto colon = host.find(':'); colon != std::string::npos) {
            port = host.substr(colon + 1);
            host.resize(colon);
            if (port.empty()) return false;
        }
        if (!isDomain(host, /*allowSingleLabel=*/true)) return false;
    }
    return port.size() <= 5 && std::all_of(port.begin(), port.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool isHttpsURL(const std::string& text) {
    constexpr std::string_view scheme = "https://";
    if (text.size() <= scheme.size() || text.size() > 2048) return false;
    for (std::size_t i = 0; i < scheme.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != scheme[i]) return false;
    }
    if (!std::all_of(text.begin(), text.end(), isSafeURLCharacter)) return false;
    const auto rest = text.substr(scheme.size());
    const auto authorityEnd = rest.find_first_of("/?#");
    return isAuthority(rest.substr(0, authorityEnd));
}

std::string percentEncodeStrictly(const std::string& text) {
    static constexpr char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 3);
    for (char c : text) {
        if (isUnreserved(c)) {
            out += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 0x0F];
        }
    }
    return out;
}

bool isValidEmailAddress(const std::string& address) {
    const auto at = address.find('@');
    if (at == std::string::npos || address.find('@', at + 1) != std::string::npos
        || address.size() > maxEmailAddressLength) {
        return false;
    }
    const auto local = address.substr(0, at);
    if (local.empty() || local.size() > 64 || local.front() == '.' || local.back() == '.'
        || local.find("..") != std::string::npos) {
        return false;
    }
    const bool localOk = std::all_of(local.begin(), local.end(), [](char c) {
        return isAsciiAlphanumeric(c) || c == '.' || c == '_' || c == '+' || c == '-';
    });
    return localOk && isDomain(address.substr(at + 1), /*allowSingleLabel=*/false);
}

bool isPlausibleEmailAddress(const std::string& address) {
    if (address.size() > maxEmailAddressLength) return false;
    const auto at = address.find('@');
    if (at == 0 || at == std::string::npos) return false;
    const auto isLocalCharacter = [](char c) {
        return isAsciiAlphanumeric(c) || c == '.' || c == '_' || c == '%' || c == '+' || c == '-';
    };
    if (!std::all_of(address.begin(), address.begin() + static_cast<std::ptrdiff_t>(at), isLocalCharacter)) return false;
    const std::string_view domain = std::string_view(address).substr(at + 1);
    if (!std::all_of(domain.begin(), domain.end(), [](char c) { return isAsciiAlphanumeric(c) || c == '.' || c == '-'; }))
        return false;
    // The ending has no dot, so it follows the last one; something must stand before that dot.
    const auto lastDot = domain.rfind('.');
    if (lastDot == 0 || lastDot == std::string_view::npos) return false;
    const auto ending = domain.substr(lastDot + 1);
    return ending.size() >= 2 && std::all_of(ending.begin(), ending.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    });
}

} // namespace zentaris
