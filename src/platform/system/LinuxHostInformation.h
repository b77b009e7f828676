#pragma once

#include "platform/HostInformation.h"

#include <filesystem>

namespace platform {

// Reads /etc/os-release, uname, sysconf and the firmware's DMI tables.
class LinuxHostInformation : public HostInformation {
public:
    // The folders are replaceable so tests can describe a machine.
    explicit LinuxHostInformation(std::filesystem::path root = "/") : root_(std::move(root)) {}

    std::string operatingSystemVersionString() const override;
    std::uint64_t physicalMemory() const override;
    std::optional<std::string> hardwareModel() const override;

    // The distribution's name from the text of an os-release file: PRETTY_NAME, else NAME and
    // VERSION, else nothing.
    static std::optional<std::string> distributionName(const std::string& osRelease);

private:
    std::filesystem::path root_;
};

} // namespace platform
