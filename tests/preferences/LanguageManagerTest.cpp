#include "preferences/LanguageManager.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

using namespace zentaris;
using platform::Bundle;
using platform::MemoryUserDefaults;
using platform::NotificationCenter;
using platform::StringList;
using zentaris::testing::TemporaryDirectory;
using zentaris::testing::writeFile;

namespace {
struct LanguageManagerTest : ::testing::Test {
    TemporaryDirectory dir;
    Bundle bundle{dir.path(), Bundle::InfoDictionary{}};
    MemoryUserDefaults defaults;
    NotificationCenter center;
    int changes = 0;
    platform::ObservationToken token =
        center.addObserver("LanguageDidChange", [this](const platform::Notification&) { ++changes; });

    LanguageManagerTest() {
        writeFile(dir / "en.lproj" / "messages.txt", "greeting = Hello\nonly_english = English only\n");
        writeFile(dir / "fr.lproj" / "messages.txt", "greeting = Bonjour\n");
        writeFile(dir / "ja.lproj" / "messages.txt", "greeting = こんにちは\n");
    }
};
} // namespace

TEST_F(LanguageManagerTest, FirstLaunchTakesTheSessionLanguageWithoutStoringAChoice) {
    LanguageManager manager(defaults, center, bundle, {"fr-CA", "en"});
    EXPECT_EQ(manager.currentLanguage(), "fr");
    EXPECT_EQ(manager.localizedString("greeting"), "Bonjour");
    EXPECT_EQ(manager.localizedString("only_english"), "only_english") << "a missing key shows the key";
    EXPECT_EQ(defaults.stringListValue("AppleLanguages"), (StringList{"fr"}));
    EXPECT_FALSE(defaults.object("selectedLanguage").has_value());
    EXPECT_EQ(changes, 1);
}

TEST_F(LanguageManagerTest, NoPreferredLanguageAndNoChoiceMeansEnglish) {
    LanguageManager manager(defaults, center, bundle, {});
    EXPECT_EQ(manager.currentLanguage(), "en");
    EXPECT_EQ(manager.localizedString("greeting"), "Hello");
}

TEST_F(LanguageManagerTest, ChoosingALanguageStoresSwitchesAndPostsEveryTime) {
    LanguageManager manager(defaults, center, bundle, {"en"});
    changes = 0;
    manager.setLanguage("ja");
    EXPECT_EQ(defaults.stringValue("selectedLanguage"), "ja");
    EXPECT_EQ(defaults.stringListValue("AppleLanguages"), (StringList{"ja"}));
    EXPECT_EQ(manager.localizedString("greeting"), "こんにちは");
    EXPECT_EQ(changes, 1);
    manager.setLanguage("ja");
    EXPECT_EQ(changes, 2) << "choosing the same language again posts again";
}

TEST_F(LanguageManagerTest, LanguageWithoutAFolderFallsBackToEnglishSilently) {
    LanguageManager manager(defaults, center, bundle, {"fr"});
    changes = 0;
    manager.setLanguage("de");
    EXPECT_EQ(manager.currentLanguage(), "de");
    EXPECT_EQ(manager.localizedString("greeting"), "Hello");
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(defaults.stringListValue("AppleLanguages"), (StringList{"fr"}));
}

TEST_F(LanguageManagerTest, StoredChoiceMustBeASupportedCode) {
    writeFile(dir / ".." / "evil.lproj" / "messages.txt", "greeting = pwned\n");
    for (const char* hostile : {"../evil", "/etc", "xx", "", "EN"}) {
        MemoryUserDefaults store;
        store.set("selectedLanguage", std::string(hostile));
        LanguageManager manager(store, center, bundle, {"fr"});
        EXPECT_EQ(manager.currentLanguage(), "fr") << hostile;
    }
    MemoryUserDefaults store;
    store.set("selectedLanguage", std::string("ja"));
    EXPECT_EQ(LanguageManager(store, center, bundle, {"fr"}).currentLanguage(), "ja");
}

TEST_F(LanguageManagerTest, ChosenCodeThatLooksLikeAPathNeverLeavesTheResources) {
    LanguageManager manager(defaults, center, bundle, {"en"});
    manager.setLanguage("../evil");
    EXPECT_EQ(manager.localizedString("greeting"), "Hello");
}

TEST(LanguageCodes, SessionTagsMapToInterfaceLanguages) {
    const std::vector<std::pair<std::string, std::string>> table{
        {"de-DE", "de"},          {"fr-CA", "fr"},        {"EN-us", "en"},         {"pt-BR", "pt"},
        {"zh-Hans-CN", "zh-Hans"}, {"zh-CN", "zh-Hans"},  {"zh-SG", "zh-Hans"},    {"zh-Hant-TW", "zh-Hant"},
        {"zh-TW", "zh-Hant"},     {"zh-HK", "zh-Hant"},   {"zh-MO", "zh-Hant"},    {"zh", "zh"},
        {"ja", "ja"}};
    for (const auto& [tag, code] : table) EXPECT_EQ(LanguageManager::languageCodeForPreferredLanguage(tag), code) << tag;
}

TEST(LanguageFolders, EveryInterfaceLanguageHasAReadableFolder) {
    Bundle bundle(ZENTARIS_SOURCE_RESOURCES, Bundle::InfoDictionary{});
    for (const char* code : LanguageManager::supportedLanguageCodes) {
        auto folder = bundle.pathForResource(code, "lproj");
        ASSERT_TRUE(folder.has_value()) << code;
        auto language = LanguageBundle::open(*folder);
        ASSERT_TRUE(language.has_value()) << code;
        EXPECT_TRUE(language->problems().empty()) << code << ": " << language->problems().front().message;
    }
    auto english = LanguageBundle::open(*bundle.pathForResource("en", "lproj"));
    for (const char* key : {"two_window_layouts", "quartet_layout", "Drag Mode", "Preferences...", "Quit",
                            "too_many_windows_hint", "drag_cancelled", "swap_with_previous"}) {
        EXPECT_TRUE(english->contains(key)) << key;
    }
}
