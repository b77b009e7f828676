#include "preferences/TextFormat.h"

#include <gtest/gtest.h>

using zentaris::formatText;

TEST(TextFormat, FillsExpectedPlaceholdersAndLeavesEverythingElseLiteral) {
    using Args = std::vector<zentaris::FormatArgument>;
    const Args counts{std::int64_t{4}, std::int64_t{6}};
    EXPECT_EQ(formatText("%d of %d", counts), "4 of 6");
    EXPECT_EQ(formatText("%ld / %lld / %i", Args{std::int64_t{1}, std::int64_t{2}, std::int64_t{3}}), "1 / 2 / 3");
    EXPECT_EQ(formatText("%2$d then %1$d", counts), "6 then 4");
    EXPECT_EQ(formatText("100%% sure, %d", counts), "100% sure, 4");
    EXPECT_EQ(formatText("Hello %@!", Args{std::string("Ana")}), "Hello Ana!");

    // Hostile or mismatched translations never read memory they were not given.
    EXPECT_EQ(formatText("%s %n %x %p", counts), "%s %n %x %p");
    EXPECT_EQ(formatText("%d %d %d", counts), "4 6 %d");
    EXPECT_EQ(formatText("%@", counts), "%@") << "a text placeholder does not take a number";
    EXPECT_EQ(formatText("%d", Args{std::string("x")}), "%d");
    EXPECT_EQ(formatText("%9$d %0$d", counts), "%9$d %0$d");
    EXPECT_EQ(formatText("trailing %", counts), "trailing %");
}
