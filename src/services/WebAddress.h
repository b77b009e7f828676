#pragma once

#include <string>

namespace zentaris {

// An absolute https address that can be handed to a browser as it is: "https://", a host (with an
// optional port), then an optional path, query or fragment; printable ASCII only, no user
// information, nothing a shell, a URL parser or a mail program could read differently.
bool isHttpsURL(const std::string& text);

// Every byte but the unreserved characters (A-Z a-z 0-9 - . _ ~) as %XX.
std::string percentEncodeStrictly(const std::string& text);

// A plain address: local part of letters, digits and . _ + - (no leading, trailing or doubled
// dot), "@", and a domain of at least two letter-digit-hyphen labels.
bool isValidEmailAddress(const std::string& address);

// What the contact form takes as the user's own address, looser than the above: letters, digits and
// . _ % + - before the "@"; letters, digits, dots and hyphens after it, ending in a dot and two or
// more letters. At most 254 bytes; checked in one pass, whatever the length of the text.
bool isPlausibleEmailAddress(const std::string& address);

} // namespace zentaris
