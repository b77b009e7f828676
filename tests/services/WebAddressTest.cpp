#include "services/EmailService.h"
#include "services/WebAddress.h"

#include <gtest/gtest.h>

namespace zentaris {
namespace {

TEST(WebAddressTest, PercentEncodesEverythingButUnreservedCharacters) {
    const std::pair<std::string, std::string> vectors[] = {
        {"hello world", "hello%20world"},
        {"line\nbreak\r\n", "line%0Abreak%0D%0A"},
        {"a&cc=evil@example.org", "a%26cc%3Devil%40example.org"},
        {"#fragment?query", "%23fragment%3Fquery"},
        {"100%", "100%25"},
        {"Grüße, 日本", "Gr%C3%BC%C3%9Fe%2C%20%E6%97%A5%E6%9C%AC"},
        {"a+b/c;d:e", "a%2Bb%2Fc%3Bd%3Ae"},
        {"AZaz09-._~", "AZaz09-._~"},
        {std::string("nul\0byte", 8), "nul%00byte"},
    };
    for (const auto& [text, encoded] : vectors) EXPECT_EQ(percentEncodeStrictly(text), encoded) << text;
}

TEST(WebAddressTest, MailtoCarriesOnlySubjectAndBody) {
    EXPECT_EQ(EmailService::mailtoURL("help@example.org", "", ""), "mailto:help@example.org");
    EXPECT_EQ(EmailService::mailtoURL("help@example.org", "Hi there", ""), "mailto:help@example.org?subject=Hi%20there");
    EXPECT_EQ(EmailService::mailtoURL("help@example.org", "", "x"), "mailto:help@example.org?body=x");
    EXPECT_EQ(EmailService::mailtoURL("help@example.org", "S&cc=a@b.cd", "b\n&attach=/etc/passwd"),
              "mailto:help@example.org?subject=S%26cc%3Da%40b.cd&body=b%0A%26attach%3D%2Fetc%2Fpasswd");
}

TEST(WebAddressTest, MailtoRefusesRecipientsThatAreNotPlainAddresses) {
    for (const char* recipient : {"", "help", "help@", "@example.org", "help@example", "a@@example.org",
                                  "help@example.org?cc=x@y.org", "help@example.org&body=x", "a b@example.org",
                                  ".help@example.org", "help.@example.org", "he..lp@example.org", "help@-example.org",
                                  "help@example..org", "help@exa_mple.org", "hélp@example.org", "help@example.org\n"}) {
        EXPECT_FALSE(EmailService::mailtoURL(recipient, "s", "b")) << recipient;
    }
    for (const char* recipient : {"help@example.org", "first.last+tag@mail.example-host.co.uk", "a_b-c@x1.io"}) {
        EXPECT_TRUE(EmailService::mailtoURL(recipient, "s", "b")) << recipient;
    }
}

TEST(WebAddressTest, TheFormsAddressCheckTakesLooseAddressesUpTo254Bytes) {
    for (const char* good : {"me@example.org", "a%b+c_d-e.@x.io", ".me@..example.co", "me@-.ORG", "1@2.ab"}) {
        EXPECT_TRUE(isPlausibleEmailAddress(good)) << good;
    }
    for (const char* bad : {"", "@example.org", "me@", "me@.org", "me@example", "me@example.c", "me@example.o1",
                            "me@example.org.", "me@@example.org", "me@exa@mple.org", "m e@example.org",
                            "me@exa_mple.org", "m\xc3\xa9@example.org", "me@example.org\n", "me!@example.org"}) {
        EXPECT_FALSE(isPlausibleEmailAddress(bad)) << bad;
    }
    const std::string longest = std::string(64, 'a') + "@" + std::string(185, 'b') + ".org";
    ASSERT_EQ(longest.size(), 254u);
    EXPECT_TRUE(isPlausibleEmailAddress(longest));
    EXPECT_FALSE(isPlausibleEmailAddress("a" + longest));
    EXPECT_FALSE(isPlausibleEmailAddress(std::string(32000, 'a') + "@example.org"));
}

TEST(WebAddressTest, RecognisesHttpsAddressesABrowserMayOpen) {
    for (const char* good : {"https://example.org", "HTTPS://example.org/", "https://example.org:8443/p?q=1#f",
                             "https://127.0.0.1:4433/checkAppVersion", "https://[::1]:443/x", "https://host"}) {
        EXPECT_TRUE(isHttpsURL(good)) << good;
    }
    for (const char* bad : {"", "https://", "http://example.org", "file:///etc/passwd", "javascript:alert(1)",
                            "https:example.org", "https:///path", "https://user:pw@example.org/",
                            "https://example.org/a b", "https://example.org/\n", "https://example.org/\"x\"",
                            "https://exa_mple.org", "https://example.org:/", "https://example.org:123456/",
                            "https://[zz]/", "ftp://example.org", "https://ex\xc3\xa4mple.org"}) {
        EXPECT_FALSE(isHttpsURL(bad)) << bad;
    }
}

} // namespace
} // namespace zentaris
