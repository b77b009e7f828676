// The mail and web addresses built from texts a user or a server supplies. Percent-encoding
// leaves only unreserved characters and %XX and decodes back to the input; a mailto: address has
// no second '?' and no '&' but between its two fields; an address taken as https stays printable;
// an address the contact form takes is bounded, ASCII, and has one '@' and a lettered ending.
#include "services/EmailService.h"
#include "services/WebAddress.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

bool unreserved(unsigned char c) { return std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~'; }

std::string percentDecode(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size()) std::abort();
            out.push_back(static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16)));
            i += 2;
        } else {
            if (!unreserved(static_cast<unsigned char>(text[i]))) std::abort();
            out.push_back(text[i]);
        }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Three texts separated by zero bytes: recipient, subject, body.
    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto first = input.find('\0');
    const auto second = first == std::string::npos ? std::string::npos : input.find('\0', first + 1);
    const std::string recipient = input.substr(0, first);
    const std::string subject = first == std::string::npos ? "" : input.substr(first + 1, second - first - 1);
    const std::string body = second == std::string::npos ? "" : input.substr(second + 1);

    if (percentDecode(zentaris::percentEncodeStrictly(input)) != input) std::abort();

    if (const auto url = zentaris::EmailService::mailtoURL(recipient, subject, body)) {
        if (!zentaris::isValidEmailAddress(recipient)) std::abort();
        // Read the address back as a mail program would: fields after '?', split at '&'.
        const std::string head = "mailto:" + recipient;
        if (url->compare(0, head.size(), head) != 0) std::abort();
        std::string query = url->substr(head.size());
        std::string readSubject, readBody;
        if (!query.empty()) {
            if (query[0] != '?') std::abort();
            query.erase(0, 1);
            for (std::size_t start = 0; start <= query.size();) {
                const auto stop = std::min(query.find('&', start), query.size());
                const std::string field = query.substr(start, stop - start);
                if (field.rfind("subject=", 0) == 0) readSubject = percentDecode(field.substr(8));
                else if (field.rfind("body=", 0) == 0) readBody = percentDecode(field.substr(5));
                else std::abort();
                start = stop + 1;
            }
        }
        if (readSubject != subject || readBody != body) std::abort();
    }
    if (zentaris::isPlausibleEmailAddress(recipient)) {
        const auto at = recipient.find('@');
        const auto lastDot = recipient.rfind('.');
        if (recipient.size() > 254 || at == 0 || recipient.find('@', at + 1) != std::string::npos) std::abort();
        if (lastDot == std::string::npos || lastDot < at + 2 || recipient.size() - lastDot < 3) std::abort();
        for (const unsigned char c : recipient) {
            if (!std::isalnum(c) && std::strchr("._%+-@", c) == nullptr) std::abort();
        }
        for (std::size_t i = lastDot + 1; i < recipient.size(); ++i) {
            if (!std::isalpha(static_cast<unsigned char>(recipient[i]))) std::abort();
        }
    }
    if (zentaris::isHttpsURL(input)) {
        for (const unsigned char c : input) {
            if (c <= 0x20 || c >= 0x7f) std::abort();
        }
    }
    return 0;
}
