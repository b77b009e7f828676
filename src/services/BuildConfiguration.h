#pragma once

#include <string>

namespace zentaris {

// Addresses fixed when the program is built (CMake cache values).

// The origin of the version endpoint: scheme and host, no path, no trailing slash.
std::string configuredUpdateBaseURL();
// The page offered for downloading when a reply names no usable address.
std::string configuredProductPageURL();
// The recipient of support messages.
std::string configuredSupportEmail();

} // namespace zentaris
