#pragma once

#include "platform/HostInformation.h"

namespace platform::fake {

// A machine a test describes.
class FakeHostInformation : public HostInformation {
public:
    std::string operatingSystemVersionString() const override { return osVersion; }
    std::uint64_t physicalMemory() const override { return memory; }
    std::optional<std::string> hardwareModel() const override { return model; }

    std::string osVersion = "Testix 1, kernel 6.0.0";
    std::uint64_t memory = 8ull << 30;
    std::optional<std::string> model = std::string("Test Machine 1");
};

} // namespace platform::fake
