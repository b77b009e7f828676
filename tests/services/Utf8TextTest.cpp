#include "services/Utf8Text.h"

#include <gtest/gtest.h>

namespace zentaris {
namespace {

TEST(Utf8TextTest, TruncatesAtACharacterBoundary) {
    EXPECT_EQ(truncateUtf8("short", 10), "short");
    EXPECT_EQ(truncateUtf8("abcdef", 3), "abc…");
    // "ä" is two bytes; cutting after one byte of it must drop it whole.
    EXPECT_EQ(truncateUtf8("aä", 2), "a…");
    EXPECT_EQ(truncateUtf8("日本", 5), "日…");
}

TEST(Utf8TextTest, ReplacesInvalidSequences) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"Gr\xc3\xbc\xc3\x9f", "Grüß"},
        {"a\xff" "b", "a\xEF\xBF\xBD" "b"},
        {"\xc3", "\xEF\xBF\xBD"},                               // cut short
        {"\xc0\xaf", "\xEF\xBF\xBD\xEF\xBF\xBD"},               // overlong
        {"\xed\xa0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // surrogate
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
    };
    for (const auto& [input, repaired] : cases) EXPECT_EQ(repairUtf8(input), repaired);
}

} // namespace
} // namespace zentaris
