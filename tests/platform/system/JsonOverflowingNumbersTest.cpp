#include "platform/system/JsonOverflowingNumbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using platform::scanJson;

TEST(JsonOverflowingNumbers, OnlyNumbersNoDoubleHoldsBecomeNull) {
    const std::string nines308(308, '9');
    const std::vector<std::pair<std::string, std::optional<std::string>>> cases = {
        {R"({"a":1e400})", R"({"a":null})"},
        {"[-1e400,1.7976931348623157e308,1.8e308,1e-400,0.5E+309,-0]",
         "[null,1.7976931348623157e308,null,1e-400,null,-0]"},
        {"[" + nines308 + ",9" + nines308 + "]", "[" + nines308 + ",null]"},
        {R"(["1e400","\"1e400","\\",1e400])", R"(["1e400","\"1e400","\\",null])"},
        {R"({"1e400":{"type":"double","value":2e308}})", R"({"1e400":{"type":"double","value":null}})"},
        {R"({"a":[1,2.5,-3e10,"x"]})", std::nullopt},
        // Not JSON before, not JSON after.
        {"{1e400", "{null"},
        {"01e400", "0null"},
    };
    for (const auto& [json, expected] : cases) {
        SCOPED_TRACE(json.substr(0, 60));
        const auto scan = scanJson(json, 32);
        EXPECT_FALSE(scan.tooDeep);
        EXPECT_EQ(scan.inRange, expected);
    }
}

TEST(JsonOverflowingNumbers, NestingIsCountedOutsideStringsAndStopsTheScanPastTheLimit) {
    const auto deep = [](int levels, const std::string& open, const std::string& close) {
        std::string text;
        for (int i = 0; i < levels; ++i) text += open;
        for (int i = 0; i < levels; ++i) text += close;
        return text;
    };
    const std::string brackets(40, '[');
    const std::vector<std::pair<std::string, bool>> cases = {
        {deep(3, "[", "]"), false},
        {deep(4, "[", "]"), true},
        {deep(4, "{\"a\":", "}"), true},
        {deep(2, "[{\"a\":", "}]"), true},
        {"[[[]],[[]],[[]]]", false}, // closing gives the levels back
        {"[\"" + brackets + "\",\"\\\"" + brackets + "\",{\"" + brackets + "\":1}]", false},
        {"]]]]" + deep(4, "[", "]"), true}, // stray closings are no credit
        {"[[[\"\\\\\"[]]]", true}, // the string ends after an escaped backslash
        {"[[[[1e400", true},
    };
    for (const auto& [json, tooDeep] : cases) {
        SCOPED_TRACE(json);
        const auto scan = scanJson(json, 3);
        EXPECT_EQ(scan.tooDeep, tooDeep);
        if (tooDeep) {
            EXPECT_EQ(scan.inRange, std::nullopt) << "nothing past the limit is looked at";
        }
    }
    EXPECT_EQ(scanJson("[[[1e400]]]", 3).inRange, "[[[null]]]");
}
