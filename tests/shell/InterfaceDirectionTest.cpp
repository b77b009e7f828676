#include "settings/SettingsPageTestSupport.h"
#include "settings/SettingsSidebar.h"
#include "settings/SettingsView.h"
#include "shell/InterfaceDirection.h"
#include "shell/QtApplicationShell.h"
#include "views/InlineLayoutViewContainer.h"

#include <QApplication>
#include <QDir>
#include <QLayout>

namespace zentaris::testing {
namespace {

struct InterfaceDirectionTest : SettingsPageFixture {
    ~InterfaceDirectionTest() override { QGuiApplication::setLayoutDirection(Qt::LeftToRight); }

    // Lets the layouts follow the new direction and keeps a picture for a look.
    static void lookAt(QWidget* window, const QString& name) {
        settle();
        window->layout()->activate();
        settle();
        QDir().mkpath(QStringLiteral(ZENTARIS_ARTIFACTS));
        window->grab().save(QStringLiteral(ZENTARIS_ARTIFACTS "/") + name + QStringLiteral(".png"));
    }
};

// How much darker than the light menu each column of a part is, from its first column with ink on.
std::vector<int> inkColumns(const QImage& image, const QRectF& part) {
    std::vector<int> columns;
    const QRect area = part.toAlignedRect();
    for (int x = area.left(); x <= area.right(); ++x) {
        int ink = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) ink += std::max(0, 200 - qGray(image.pixel(x, y)));
        if (ink || !columns.empty()) columns.push_back(ink);
    }
    return columns;
}

// The same glyphs in the same order, give or take the antialiasing of a fractional position.
bool sameInk(const std::vector<int>& a, const std::vector<int>& b) {
    int total = 0, difference = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        const int left = i < a.size() ? a[i] : 0, right = i < b.size() ? b[i] : 0;
        total += left + right;
        difference += std::abs(left - right);
    }
    return total > 0 && difference * 5 < total;
}

// Where a part of the window lies, from the window's left edge.
int leftEdgeIn(const QWidget* window, const QWidget* part) { return part->mapTo(window, QPoint(0, 0)).x(); }

TEST_F(InterfaceDirectionTest, OnlyArabicAndHebrewAreWrittenRightToLeft) {
    for (const auto* code : LanguageManager::supportedLanguageCodes) {
        const std::string language = code;
        const bool rightToLeft = language == "ar" || language == "he";
        EXPECT_EQ(layoutDirectionForLanguage(language), rightToLeft ? Qt::RightToLeft : Qt::LeftToRight) << language;
    }
}

TEST_F(InterfaceDirectionTest, TheSettingsWindowMirrorsWhenTheLanguageTurnsRightToLeftAndBack) {
    QtApplicationShell shell(defaults, supportDependencies());
    shell.showSettingsWindow();
    SettingsView* view = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !view) view = window->findChild<SettingsView*>();
    }
    ASSERT_TRUE(view);
    QWidget* window = view->window();
    lookAt(window, "settings-en");
    EXPECT_LT(leftEdgeIn(window, view->sidebar()), leftEdgeIn(window, view->currentPage()));

    LanguageManager::shared().setLanguage("ar");
    lookAt(window, "settings-ar");
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::RightToLeft);
    EXPECT_TRUE(view->currentPage()->isRightToLeft());
    EXPECT_GT(leftEdgeIn(window, view->sidebar()), leftEdgeIn(window, view->currentPage())) << "the sidebar moves right";

    LanguageManager::shared().setLanguage("de");
    settle();
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::LeftToRight);
}

TEST_F(InterfaceDirectionTest, MenuRowsMirrorButTheirCaptionsAndMiniaturesDoNot) {
    InlineLayoutViewContainer row("Split", LayoutType::split7030, std::string("⌥⌘3"));
    const auto parts = row.parts();
    const auto mirrored = [&row](const QRectF& part) {
        return QRectF(row.width() - part.right(), part.top(), part.width(), part.height());
    };
    const QImage leftToRight = row.grab().toImage();
    QGuiApplication::setLayoutDirection(Qt::RightToLeft);
    const QImage rightToLeft = row.grab().toImage();
    ASSERT_TRUE(row.isRightToLeft());

    EXPECT_EQ(rightToLeft.copy(mirrored(parts.preview).toRect()), leftToRight.copy(parts.preview.toRect()))
        << "the miniature moves to the leading edge and still shows the screen as it is";
    EXPECT_EQ(rightToLeft.copy(mirrored(parts.symbol).toRect()), leftToRight.copy(parts.symbol.toRect()))
        << "the symbol leads on the right";
    ASSERT_TRUE(parts.caption);
    EXPECT_TRUE(sameInk(inkColumns(rightToLeft, mirrored(*parts.caption)), inkColumns(leftToRight, *parts.caption)))
        << "the keys keep their order";
}

TEST_F(InterfaceDirectionTest, AStoredRightToLeftLanguageMirrorsFromTheStart) {
    defaults.set(LanguageManager::selectedLanguageKey, std::string("he"));
    resetModels();
    QtApplicationShell shell(defaults, supportDependencies());
    EXPECT_EQ(QGuiApplication::layoutDirection(), Qt::RightToLeft);
}

} // namespace
} // namespace zentaris::testing
