#include "platform/system/Base64.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Base64, RoundTripsEveryLengthAndRejectsMalformedText) {
    std::vector<std::uint8_t> bytes;
    for (int length = 0; length < 10; ++length) {
        EXPECT_EQ(base64Decode(base64Encode(bytes)), bytes);
        bytes.push_back(static_cast<std::uint8_t>(250 + length));
    }
    EXPECT_EQ(base64Encode({'M', 'a'}), "TWE=");
    EXPECT_FALSE(base64Decode("TWE").has_value());
    EXPECT_FALSE(base64Decode("T=E=").has_value());
    EXPECT_FALSE(base64Decode("TW!=").has_value());
}
