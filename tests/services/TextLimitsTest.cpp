// Texts from outside the program exactly at their length limit come through whole.
#include "services/EmailService.h"
#include "services/UpdateService.h"

#include "platform/NotificationCenter.h"
#include "platform/fake/FakeAccessibility.h"
#include "platform/fake/FakeHostInformation.h"
#include "platform/fake/FakeScreens.h"

#include <gtest/gtest.h>

#include <functional>

namespace zentaris {
namespace {

// The machine's model name as the support mail gives it.
std::string mailedModel(const std::string& model) {
    platform::MemoryUserDefaults defaults;
    platform::NotificationCenter notifications;
    const platform::Bundle bundle{std::filesystem::temp_directory_path(), std::nullopt};
    const LanguageManager languages{defaults, notifications, bundle, {"en"}};
    platform::fake::FakeHostInformation host;
    host.model = model;
    platform::fake::FakeScreens screens;
    platform::fake::FakeAccessibility accessibility;
    const EmailService service("help@example.org", languages, {host, bundle, screens, accessibility, defaults});
    const std::string information = service.systemInformation();
    const auto start = information.find("Model: ") + 7;
    return information.substr(start, information.find('\n', start) - start);
}

TEST(TextLimits, ATextAtItsLimitIsWholeAndOneByteMoreIsCut) {
    struct Limited {
        const char* text;
        std::size_t limit;
        std::function<std::string(const std::string&)> shown;
    };
    const Limited texts[] = {
        {"announced version", UpdateService::maxShownVersionBytes, UpdateService::shownVersion},
        {"release notes", UpdateService::maxShownReleaseNotesBytes, UpdateService::shownReleaseNotes},
        {"mailed model name", 256, mailedModel},
    };
    const std::string bullet = "\xE2\x80\xA2", ellipsis = "\xE2\x80\xA6";
    for (const auto& limited : texts) {
        SCOPED_TRACE(limited.text);
        const std::string full(limited.limit, 'a');
        EXPECT_EQ(limited.shown(full), full);
        const std::string endsInBullet = std::string(limited.limit - 3, 'a') + bullet;
        EXPECT_EQ(limited.shown(endsInBullet), endsInBullet) << "a character that ends at the limit";
        EXPECT_EQ(limited.shown(full + "b"), full + ellipsis);
        EXPECT_EQ(limited.shown(std::string(limited.limit - 1, 'a') + bullet), std::string(limited.limit - 1, 'a') + ellipsis)
            << "a character across the limit goes whole";
    }
}

} // namespace
} // namespace zentaris
