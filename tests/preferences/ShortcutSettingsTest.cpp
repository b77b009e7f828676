#include "preferences/ShortcutSettings.h"
#include "platform/system/JsonFileUserDefaults.h"
#include "support/FileSizeLimit.h"
#include "support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <tuple>

using namespace zentaris;
using platform::Data;
using platform::MemoryUserDefaults;
using platform::NotificationCenter;

namespace {
struct Fixture : ::testing::Test {
    MemoryUserDefaults defaults;
    NotificationCenter center;
    int statesPosted = 0;
    platform::ObservationToken token =
        center.addObserver("ShortcutStatesDidChange", [this](const platform::Notification&) { ++statesPosted; });
};
using ShortcutSettingsTest = Fixture;
} // namespace

TEST_F(ShortcutSettingsTest, EmptyDefaultsGiveTheDefaultsAndWriteNothing) {
    ShortcutSettings settings(defaults, center);
    EXPECT_TRUE(settings.shortcutsEnabled());
    EXPECT_EQ(settings.dragModeModifier(), DragModeModifier::command);
    EXPECT_TRUE(settings.rightClickDragEnabled());
    EXPECT_EQ(settings.threeColumnStyle(), ThreeColumnStyle::balanced);
    EXPECT_TRUE(settings.individualStates().empty());
    EXPECT_EQ(defaults.writeCount(), 0);
    EXPECT_EQ(statesPosted, 0);
}

TEST_F(ShortcutSettingsTest, DragModifierMigrationTable) {
    struct Row {
        std::string stored;
        DragModeModifier loaded;
        std::string storedAfter;
    };
    for (const auto& row : std::vector<Row>{{"option_command", DragModeModifier::command, "command"},
                                            {"option", DragModeModifier::command, "command"},
                                            {"none", DragModeModifier::none, "none"},
                                            {"shift", DragModeModifier::shift, "shift"},
                                            {"command", DragModeModifier::command, "command"},
                                            {"control", DragModeModifier::command, "control"},
                                            {"", DragModeModifier::command, ""}}) {
        MemoryUserDefaults store;
        store.set("dragModeModifier", row.stored);
        ShortcutSettings settings(store, center);
        EXPECT_EQ(settings.dragModeModifier(), row.loaded) << row.stored;
        EXPECT_EQ(store.stringValue("dragModeModifier"), row.storedAfter) << row.stored;
    }
}

TEST_F(ShortcutSettingsTest, ValuesOfTheWrongTypeFallBackWithoutBeingRewritten) {
    defaults.set("shortcutsGloballyEnabled", std::string("NO"));
    defaults.set("rightClickDragEnabled", 3.5);
    defaults.set("threeColumnStyle", std::string("20-60-20"));
    defaults.set("individualShortcutStates", Data::fromString("not json"));
    defaults.set("dragModeModifier", true);
    const int writesBefore = defaults.writeCount();
    ShortcutSettings settings(defaults, center);
    EXPECT_TRUE(settings.shortcutsEnabled());
    EXPECT_TRUE(settings.rightClickDragEnabled());
    EXPECT_EQ(settings.threeColumnStyle(), ThreeColumnStyle::balanced);
    EXPECT_EQ(settings.dragModeModifier(), DragModeModifier::command);
    EXPECT_TRUE(settings.isShortcutEnabled("splitVertical"));
    EXPECT_EQ(defaults.writeCount(), writesBefore);
    EXPECT_EQ(defaults.stringValue("threeColumnStyle"), "20-60-20");
    EXPECT_EQ(defaults.dataValue("individualShortcutStates"), Data::fromString("not json"));
}

TEST_F(ShortcutSettingsTest, EveryStoredKeyIsLoadedIntoItsOwnSettingAlone) {
    // What was loaded, as one comparable row.
    auto loaded = [](const ShortcutSettings& s) {
        return std::make_tuple(s.shortcutsEnabled(), s.dragModeModifier(), s.rightClickDragEnabled(),
                               s.threeColumnStyle(), s.individualState("leftColumn"), s.individualState("fullscreen"));
    };
    const auto defaultsRow = std::make_tuple(true, DragModeModifier::command, true, ThreeColumnStyle::balanced, true, true);
    const struct {
        const char* key;
        platform::DefaultsValue stored;
        decltype(defaultsRow) expected;
    } cases[] = {
        {"shortcutsGloballyEnabled", false,
         {false, DragModeModifier::command, true, ThreeColumnStyle::balanced, true, true}},
        {"dragModeModifier", std::string("shift"),
         {true, DragModeModifier::shift, true, ThreeColumnStyle::balanced, true, true}},
        {"rightClickDragEnabled", false, {true, DragModeModifier::command, false, ThreeColumnStyle::balanced, true, true}},
        {"threeColumnStyle", std::string("25-50-25"),
         {true, DragModeModifier::command, true, ThreeColumnStyle::classic, true, true}},
        {"individualShortcutStates", Data::fromString(R"({"leftColumn":false,"fullscreen":true})"),
         {true, DragModeModifier::command, true, ThreeColumnStyle::balanced, false, true}},
    };
    for (const auto& c : cases) {
        MemoryUserDefaults store;
        store.set(c.key, c.stored);
        EXPECT_EQ(loaded(ShortcutSettings(store, center)), c.expected) << c.key;
    }
    EXPECT_EQ(loaded(ShortcutSettings(defaults, center)), defaultsRow);
}

TEST_F(ShortcutSettingsTest, AssignmentsWriteThroughAndOnlyTheGlobalSwitchPosts) {
    ShortcutSettings settings(defaults, center);
    settings.setDragModeModifier(DragModeModifier::shift);
    settings.setRightClickDragEnabled(false);
    settings.setThreeColumnStyle(ThreeColumnStyle::classic);
    EXPECT_EQ(defaults.stringValue("dragModeModifier"), "shift");
    EXPECT_EQ(defaults.boolValue("rightClickDragEnabled"), false);
    EXPECT_EQ(defaults.stringValue("threeColumnStyle"), "25-50-25");
    EXPECT_EQ(statesPosted, 0);

    settings.setShortcutsEnabled(true); // the value it already has: still written and posted
    EXPECT_EQ(defaults.boolValue("shortcutsGloballyEnabled"), true);
    EXPECT_EQ(statesPosted, 1);
    settings.setShortcutsEnabled(false);
    EXPECT_FALSE(settings.isShortcutEnabled("leftColumn"));
    EXPECT_EQ(statesPosted, 2);
}

TEST_F(ShortcutSettingsTest, SwitchingOneShortcutOffStoresTheWholeDictionaryAndPostsOnce) {
    ShortcutSettings settings(defaults, center);
    int willChange = 0;
    auto sub = settings.objectWillChange().subscribe([&] { ++willChange; });
    settings.setIndividualState("splitVertical", false);
    EXPECT_EQ(defaults.dataValue("individualShortcutStates"), Data::fromString(R"({"splitVertical":false})"));
    EXPECT_EQ(statesPosted, 1);
    EXPECT_EQ(willChange, 1);
    EXPECT_FALSE(settings.isShortcutEnabled("splitVertical"));
    EXPECT_TRUE(settings.isShortcutEnabled("splitHorizontal"));

    ShortcutSettings reloaded(defaults, center);
    EXPECT_FALSE(reloaded.individualState("splitVertical"));
}

TEST_F(ShortcutSettingsTest, ASwitchIsWrittenOntoTheSwitchesAsStoredSoTwoSessionsLoseNone) {
    ShortcutSettings a(defaults, center); // two sessions of one user sharing the settings
    ShortcutSettings b(defaults, center);
    a.setIndividualState("leftColumn", false);
    b.setIndividualState("rightColumn", false);
    EXPECT_EQ(defaults.dataValue("individualShortcutStates"),
              Data::fromString(R"({"leftColumn":false,"rightColumn":false})"));
    EXPECT_TRUE(b.individualState("leftColumn")) << "the other session's switch counts from the next start";
    ShortcutSettings restarted(defaults, center);
    EXPECT_FALSE(restarted.individualState("leftColumn"));
    EXPECT_FALSE(restarted.individualState("rightColumn"));

    defaults.set("individualShortcutStates", Data::fromString(R"({"leftColumn":"off"})"));
    a.setIndividualState("centerColumn", false);
    EXPECT_EQ(defaults.dataValue("individualShortcutStates"), Data::fromString(R"({"centerColumn":false})"))
        << "unreadable switches count as none";
    const int writes = defaults.writeCount();
    a.setIndividualState("\xff", false);
    EXPECT_EQ(defaults.writeCount(), writes) << "a name JSON cannot hold is not written";
    EXPECT_EQ(statesPosted, 4);
}

TEST_F(ShortcutSettingsTest, EverySwitchOfOneSessionIsKeptNotOnlyItsFirst) {
    zentaris::testing::TemporaryDirectory dir;
    platform::JsonFileUserDefaults file(dir / "defaults.json");
    const auto stored = [](const platform::UserDefaults& store) {
        return store.dataValue("individualShortcutStates").value_or(Data{}).toString();
    };
    for (platform::UserDefaults* store : std::initializer_list<platform::UserDefaults*>{&defaults, &file}) {
        ShortcutSettings settings(*store, center);
        settings.setIndividualState("leftColumn", false);
        settings.setIndividualState("leftColumn", true);
        settings.setIndividualState("rightColumn", false);
        EXPECT_TRUE(settings.individualState("leftColumn"));
        EXPECT_FALSE(settings.individualState("rightColumn"));
        EXPECT_EQ(stored(*store), R"({"leftColumn":true,"rightColumn":false})");
    }
    EXPECT_EQ(stored(platform::JsonFileUserDefaults(dir / "defaults.json")), R"({"leftColumn":true,"rightColumn":false})");
}

TEST_F(ShortcutSettingsTest, OneUnreadableSwitchAmongGoodOnesMakesThemAllUnreadable) {
    defaults.set("individualShortcutStates", Data::fromString(R"({"leftColumn":false,"maximize":0,"rightColumn":false})"));
    ShortcutSettings settings(defaults, center);
    EXPECT_TRUE(settings.individualStates().empty());
    settings.setIndividualState("fullscreen", false);
    EXPECT_EQ(defaults.dataValue("individualShortcutStates"), Data::fromString(R"({"fullscreen":false})"));
}

namespace {
// The switches as stored in the settings file at `path`.
std::string storedSwitches(const std::filesystem::path& path) {
    return platform::JsonFileUserDefaults(path).dataValue("individualShortcutStates").value_or(Data{}).toString();
}

// Settings kept in a file, whose switches are changed while the disk is full.
struct SettingsInAFile {
    explicit SettingsInAFile(NotificationCenter& center) : settings(store, center) {}
    template <typename Changes> void whileTheDiskIsFull(Changes changes) {
        zentaris::testing::FileSizeLimit full(16);
        changes(settings);
    }
    // The switches on disk after the next save of any setting (moving the settings window is one).
    std::string switchesAfterTheNextSave() {
        store.set("windowFrame.Settings", std::string("0 0 640 480"));
        return storedSwitches(path);
    }

    zentaris::testing::TemporaryDirectory dir;
    std::filesystem::path path = dir / "defaults.json";
    platform::JsonFileUserDefaults store{path};
    ShortcutSettings settings;
};
} // namespace

TEST_F(ShortcutSettingsTest, ASwitchKeptWhileTheDiskIsFullIsSavedLaterAsItWasAfterItsNameIsGone) {
    SettingsInAFile file(center);
    file.whileTheDiskIsFull([](ShortcutSettings& settings) {
        // The name lives in the row of a settings page, which goes away with the page.
        auto row = std::make_unique<std::string>("toggleDragModeShortcutOfTheSettingsRow");
        settings.setIndividualState(*row, false);
        *row = "aNameTheRowWasGivenAfterwardsToReuseIt";
    });
    EXPECT_EQ(file.switchesAfterTheNextSave(), R"({"toggleDragModeShortcutOfTheSettingsRow":false})");
}

TEST_F(ShortcutSettingsTest, AnotherZentarisLaterSwitchOfTheSameNameStandsWhileTheOtherKeptSwitchIsSaved) {
    SettingsInAFile file(center);
    file.whileTheDiskIsFull([](ShortcutSettings& settings) {
        settings.setIndividualState("leftColumn", false);
        settings.setIndividualState("rightColumn", false);
    });
    platform::JsonFileUserDefaults theirs(file.path);
    ShortcutSettings(theirs, center).setIndividualState("leftColumn", true);
    EXPECT_EQ(file.switchesAfterTheNextSave(), R"({"leftColumn":true,"rightColumn":false})");
}

TEST_F(ShortcutSettingsTest, UnreadableStoredSwitchesAreNamedAndKeptInACopyBeforeASwitchReplacesThem) {
    zentaris::testing::TemporaryDirectory dir;
    const auto path = dir / "defaults.json";
    const auto original = Data::fromString(R"({"leftColumn":false,"maximize":0,"rightColumn":false})");
    platform::JsonFileUserDefaults(path).set("individualShortcutStates", original);
    ::testing::internal::CaptureStderr();
    platform::JsonFileUserDefaults file(path);
    ShortcutSettings settings(file, center);
    settings.setIndividualState("upColumn", false);
    const auto said = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find(R"(the value of "individualShortcutStates" cannot be read)"), std::string::npos) << said;
    std::vector<std::filesystem::path> copies;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename() != "defaults.json") copies.push_back(entry.path());
    }
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(platform::JsonFileUserDefaults(copies[0]).dataValue("individualShortcutStates"), original);
    EXPECT_EQ(storedSwitches(path), R"({"upColumn":false})");
}

TEST_F(ShortcutSettingsTest, SubscribersGetTheCurrentValueThenEveryChange) {
    ShortcutSettings settings(defaults, center);
    std::vector<ThreeColumnStyle> seen;
    auto sub = settings.threeColumnStylePublisher().subscribe([&](const ThreeColumnStyle& s) {
        seen.push_back(s);
        EXPECT_EQ(settings.threeColumnStyle(), s) << "subscribers read the new value";
    });
    settings.setThreeColumnStyle(ThreeColumnStyle::classic);
    sub.cancel();
    settings.setThreeColumnStyle(ThreeColumnStyle::balanced);
    EXPECT_EQ(seen, (std::vector<ThreeColumnStyle>{ThreeColumnStyle::balanced, ThreeColumnStyle::classic}));

    std::vector<DragModeModifier> later;
    auto onlyLater = settings.dragModeModifierPublisher().subscribe(
        [&](const DragModeModifier& m) { later.push_back(m); }, /*receiveCurrent=*/false);
    settings.setDragModeModifier(DragModeModifier::none);
    EXPECT_EQ(later, (std::vector<DragModeModifier>{DragModeModifier::none}));
}

TEST(SettingsTypes, RawValuesRoundTripAndUnknownTextsGiveNothing) {
    for (auto m : allDragModeModifiers) EXPECT_EQ(dragModeModifierFromRaw(rawValue(m)), m);
    for (auto s : allThreeColumnStyles) EXPECT_EQ(threeColumnStyleFromRaw(rawValue(s)), s);
    EXPECT_EQ(dragModeModifierFromRaw("Command"), std::nullopt);
    EXPECT_EQ(threeColumnStyleFromRaw("balanced"), std::nullopt);
}
