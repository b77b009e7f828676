#include "services/AppVersionResponse.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace zentaris {
namespace {

nlohmann::json validDocument() {
    return {{"updateAvailable", true},  {"latestVersion", "2.0.0"}, {"minRequiredVersion", "1.5.0"},
            {"downloadUrl", "https://example.org/d"}, {"releaseNotes", "Notes"}, {"forceUpdate", false}};
}

TEST(AppVersionResponseTest, DecodesAllSixMembersAndIgnoresOthers) {
    auto document = validDocument();
    document["extra"] = {1, 2, 3};
    const auto response = AppVersionResponse::decode(document.dump());
    ASSERT_TRUE(response);
    EXPECT_EQ(*response, (AppVersionResponse{true, "2.0.0", "1.5.0", "https://example.org/d", "Notes", false}));
}

TEST(AppVersionResponseTest, RejectsEveryMissingNullOrMistypedMember) {
    const auto valid = validDocument();
    for (const auto& [name, value] : valid.items()) {
        SCOPED_TRACE(name);
        const bool isBool = value.is_boolean();
        const nlohmann::json wrongValues[] = {nullptr, isBool ? nlohmann::json("true") : nlohmann::json(1),
                                              isBool ? nlohmann::json(1) : nlohmann::json(true),
                                              nlohmann::json::array(), nlohmann::json::object()};
        auto missing = validDocument();
        missing.erase(name);
        EXPECT_FALSE(AppVersionResponse::decode(missing.dump()));
        for (const auto& wrong : wrongValues) {
            auto document = validDocument();
            document[name] = wrong;
            EXPECT_FALSE(AppVersionResponse::decode(document.dump())) << wrong.dump();
        }
    }
}

TEST(AppVersionResponseTest, RejectsWhatIsNotAJsonObject) {
    for (const char* text : {"", "null", "[]", "[{}]", "\"text\"", "42", "<html></html>", "{\"updateAvailable\": tru",
                             "{\"latestVersion\": \"\xff\"}"}) {
        EXPECT_FALSE(AppVersionResponse::decode(text)) << text;
    }
}

TEST(AppVersionResponseTest, EncodesTheRequestBody) {
    EXPECT_EQ(nlohmann::json::parse(*encodeVersionRequest("1.2", "Linux")),
              (nlohmann::json{{"currentVersion", "1.2"}, {"platform", "Linux"}}));
    EXPECT_FALSE(encodeVersionRequest("1.\xff", "Linux")) << "invalid UTF-8 cannot be encoded";
}

} // namespace
} // namespace zentaris
