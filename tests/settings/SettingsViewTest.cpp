#include "SettingsPageTestSupport.h"
#include "settings/AboutSettingsView.h"
#include "settings/GeneralSettingsView.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsView.h"
#include "settings/SettingsWidgets.h"
#include "settings/ShortcutsSettingsView.h"
#include "settings/SupportSettingsView.h"
#include "shell/QtApplicationShell.h"

#include <QAbstractButton>
#include <QLabel>
#include <QApplication>
#include <QPointer>
#include <QTest>

namespace zentaris::testing {
namespace {

using SettingsViewTest = SettingsPageFixture;

template <typename Page>
bool shows(const SettingsView& view) {
    return dynamic_cast<Page*>(view.currentPage()) != nullptr;
}

TEST_F(SettingsViewTest, SidebarListsTwoSectionsAndClickingAnItemShowsItsPage) {
    SettingsView view(SettingsTab::general, true, supportDependencies());
    view.resize(800, 600);
    view.show();
    ASSERT_EQ(view.sidebar()->sections().size(), 2u);
    EXPECT_EQ(view.sidebar()->sections()[0]->items()[0]->tab(), SettingsTab::general);
    EXPECT_EQ(view.sidebar()->sections()[0]->items()[1]->tab(), SettingsTab::shortcuts);
    EXPECT_EQ(view.sidebar()->sections()[1]->items()[0]->tab(), SettingsTab::about);
    EXPECT_EQ(view.sidebar()->sections()[1]->items()[1]->tab(), SettingsTab::support);
    EXPECT_TRUE(shows<GeneralSettingsView>(view));

    struct Step {
        SettingsTab tab;
        bool (*shown)(const SettingsView&);
    };
    for (const auto& [tab, shown] : {Step{SettingsTab::about, shows<AboutSettingsView>},
                                     Step{SettingsTab::support, shows<SupportSettingsView>},
                                     Step{SettingsTab::shortcuts, shows<ShortcutsSettingsView>},
                                     Step{SettingsTab::general, shows<GeneralSettingsView>}}) {
        QTest::mouseClick(view.sidebar()->item(tab), Qt::LeftButton);
        EXPECT_EQ(view.selectedTab(), tab);
        EXPECT_TRUE(shown(view));
        for (auto other : allSettingsTabs) {
            EXPECT_EQ(view.sidebar()->item(other)->isSelected(), other == tab) << "one highlighted item";
        }
    }
}

TEST_F(SettingsViewTest, ChoosingTheShownPageAgainKeepsThePage) {
    SettingsView view(SettingsTab::support, true, supportDependencies());
    auto* page = view.currentPage();
    QTest::mouseClick(view.sidebar()->item(SettingsTab::support), Qt::LeftButton);
    EXPECT_EQ(view.currentPage(), page);
}

TEST_F(SettingsViewTest, SidebarHidesAndReturnsThroughTheToggleWhichStaysVisible) {
    SettingsView view(SettingsTab::general, true, supportDependencies());
    view.resize(800, 600);
    view.show();
    QTest::mouseClick(view.sidebarToggle(), Qt::LeftButton);
    EXPECT_FALSE(view.isSidebarVisible());
    QTRY_VERIFY_WITH_TIMEOUT(view.sidebar()->isHidden(), 2000);
    EXPECT_TRUE(view.sidebarToggle()->isVisible());
    EXPECT_GE(view.currentPage()->width(), 790) << "the page fills the window";

    QTest::mouseClick(view.sidebarToggle(), Qt::LeftButton);
    EXPECT_TRUE(view.isSidebarVisible());
    QTRY_VERIFY_WITH_TIMEOUT(view.sidebar()->width() >= 180, 2000);
    EXPECT_TRUE(view.sidebar()->isVisible());
}

TEST_F(SettingsViewTest, StartsWithTheSidebarHiddenWhenAsked) {
    SettingsView view(SettingsTab::about, false, supportDependencies());
    view.show();
    EXPECT_TRUE(view.sidebar()->isHidden());
    EXPECT_TRUE(shows<AboutSettingsView>(view));
    EXPECT_TRUE(view.sidebar()->item(SettingsTab::about)->isSelected());
}

TEST_F(SettingsViewTest, SidebarTextsFollowTheLanguageAndFallBackToTheKey) {
    useLanguageFolders("zentaris_name = Zentaris\nGeneral = General\ninformation_section = Information\n"
                       "toggle_sidebar = Toggle Sidebar\n",
                       "zentaris_name = Zentaris\nGeneral = Allgemein\ninformation_section = Informationen\n"
                       "toggle_sidebar = Seitenleiste ein/aus\n");
    SettingsView view(SettingsTab::general, true, supportDependencies());
    auto* sidebar = view.sidebar();
    EXPECT_EQ(sidebar->item(SettingsTab::general)->titleText(), "General");
    EXPECT_EQ(sidebar->sections()[1]->titleView()->text(), "INFORMATION");
    EXPECT_EQ(sidebar->sections()[0]->titleView()->text(), "SETTINGS_SECTION") << "a missing text shows its key";

    LanguageManager::shared().setLanguage("de");
    settle();
    EXPECT_EQ(sidebar->item(SettingsTab::general)->titleText(), "Allgemein");
    EXPECT_EQ(sidebar->item(SettingsTab::general)->accessibleName(), "Allgemein");
    EXPECT_EQ(sidebar->sections()[1]->titleView()->text(), "INFORMATIONEN");
    EXPECT_EQ(view.sidebarToggle()->toolTip(), "Seitenleiste ein/aus");
}

// The program's windows that hold the settings view.
std::vector<QWidget*> settingsWindows() {
    std::vector<QWidget*> found;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->parentWidget() && window->findChild<SettingsView*>()) found.push_back(window);
    }
    return found;
}

TEST_F(SettingsViewTest, TheSidebarTitleStandsAtTheLeadingEdgeRightToLeft) {
    LanguageManager::shared().setLanguage("ar");
    ModernSidebar sidebar(SettingsTab::general, [](SettingsTab) {});
    sidebar.setLayoutDirection(Qt::RightToLeft);
    sidebar.resize(260, 600);
    sidebar.show();
    settle();
    QLabel* title = nullptr;
    for (auto* label : sidebar.findChildren<QLabel*>()) {
        if (label->text() == "Zentaris") title = label;
    }
    ASSERT_TRUE(title);
    EXPECT_GT(rightmostInk(title, &sidebar), sidebar.width() * 3 / 4);
}

TEST_F(SettingsViewTest, TheSettingsWindowIsMadeOnceAndOnlyHiddenWhenClosed) {
    QtApplicationShell shell(defaults, supportDependencies());
    shell.showSettingsWindow();
    ASSERT_EQ(settingsWindows().size(), 1u);
    QPointer<QWidget> window = settingsWindows().front();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(800, 600));
    auto* view = window->findChild<SettingsView*>();
    EXPECT_EQ(view->selectedTab(), SettingsTab::general);
    EXPECT_TRUE(view->isSidebarVisible());
    QTest::mouseClick(view->sidebar()->item(SettingsTab::about), Qt::LeftButton);

    shell.showSettingsWindow();
    EXPECT_EQ(settingsWindows(), std::vector<QWidget*>{window.data()}) << "a second request reuses the window";

    window->setGeometry(40, 30, 700, 500);
    window->close();
    ASSERT_FALSE(window.isNull()) << "closing hides the window, it is not destroyed";
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(defaults.stringValue("windowFrame.Settings"), "40 30 700 500");

    shell.showSettingsWindow();
    EXPECT_EQ(settingsWindows(), std::vector<QWidget*>{window.data()});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(view->selectedTab(), SettingsTab::about) << "the page chosen before closing is still there";
}

TEST_F(SettingsViewTest, TheSettingsWindowTakesItsSavedFrameOnlyWhenItIsUsable) {
    const std::pair<std::string, QRect> cases[] = {
        {"40 30 700 500", QRect(40, 30, 700, 500)},
        {"5000 5000 700 500", QRect()}, // on no screen
        {"40 30 50 500", QRect()},      // too small to use
        {"a frame", QRect()},
    };
    for (const auto& [saved, frame] : cases) {
        SCOPED_TRACE(saved);
        defaults.set("windowFrame.Settings", saved);
        QtApplicationShell shell(defaults, supportDependencies());
        shell.showSettingsWindow();
        ASSERT_EQ(settingsWindows().size(), 1u);
        const QWidget* window = settingsWindows().front();
        if (frame.isValid()) {
            EXPECT_EQ(window->geometry(), frame);
        } else {
            EXPECT_EQ(window->size(), QSize(800, 600));
        }
    }
}

} // namespace
} // namespace zentaris::testing
