#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Facts about the machine and its operating system, for support messages.
class HostInformation {
public:
    virtual ~HostInformation() = default;

    // The distribution and kernel, such as "Debian GNU/Linux 12 (bookworm), kernel 6.1.0-18-amd64".
    virtual std::string operatingSystemVersionString() const = 0;
    // Installed memory in bytes.
    virtual std::uint64_t physicalMemory() const = 0;
    // The machine's product name as the firmware reports it (raw bytes), when it does.
    virtual std::optional<std::string> hardwareModel() const = 0;
};

} // namespace platform
