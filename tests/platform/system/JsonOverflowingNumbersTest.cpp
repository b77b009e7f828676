#include "platform/system/JsonOverflowingNumbers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using platform::replaceOverflowingNumbers;

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
        EXPECT_EQ(replaceOverflowingNumbers(json), expected);
    }
}
