// Real films through the media module, on the offscreen platform.
#include "OnboardingViewTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "onboarding/DragModeView.h"
#include "onboarding/FilmPlayback.h"
#include "onboarding/OnboardingVideoPlayer.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/ShortcutsView.h"

#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTest>

using namespace zentaris;
using namespace std::chrono_literals;
using zentaris::testing::TutorialFixture;
using zentaris::testing::painted;

namespace {

// 160x120 of one red (0xd03020), one second long: long enough to be seen playing, short enough to
// be seen starting again.
const std::filesystem::path oneSecondFilm = std::filesystem::path(ZENTARIS_TEST_FILMS) / "one_second_film.mp4";
constexpr int patience = 15000;

// Whether Qt has any media backend plug-in installed; without one no film can play here.
bool mediaBackendInstalled() {
    const QDir folder(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/multimedia"));
    return !folder.entryList({QStringLiteral("*.so")}, QDir::Files).isEmpty();
}

struct OnboardingVideoPlayerTest : TutorialFixture {
    void SetUp() override {
        if (!mediaBackendInstalled()) GTEST_SKIP() << "no Qt media backend is installed (qt6-multimedia's plug-ins), so no film can play";
    }
    // Each test starts without players kept from another.
    void TearDown() override {
        qunsetenv("QT_MEDIA_BACKEND");
        tutorial::releaseParkedPlayers();
    }

    // A film is played this far before it is left, and must be seen this close to its start when it
    // is shown again: the gap is the time a loaded machine may take to report a restarted player.
    static constexpr std::int64_t playedBeforeLeaving = 3000, seenAfterRestart = 2500;

    static std::unique_ptr<OnboardingView> makeView(OnboardingStep step) {
        OnboardingState::shared().setCurrentStep(step);
        return std::make_unique<OnboardingView>(OnboardingView::Dependencies{
            OnboardingState::shared(), LanguageManager::shared(), ShortcutSettings::shared(), [] { return 1; }});
    }

    static bool waitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, patience); }

    static std::int64_t position(const OnboardingVideoPlayer& player) { return player.positionMilliseconds().value_or(-1); }

    // Waits until the player shows pictures and its position has moved on from where it was.
    static void expectPlaying(OnboardingVideoPlayer& player) {
        ASSERT_TRUE(waitFor([&] { return player.isPlaying() && !player.pictureRect().isEmpty(); }))
            << "the film never started (failed: " << player.hasFailed() << ")";
        const auto from = position(player);
        EXPECT_TRUE(waitFor([&] { return position(player) > from; })) << "the position does not advance";
        EXPECT_FALSE(player.hasAudioOutput());
    }

    template <typename Page>
    static OnboardingVideoPlayer* filmOf(const OnboardingView& view) {
        auto* page = dynamic_cast<Page*>(view.currentPage());
        if (!page) return nullptr;
        const auto films = childrenOf<OnboardingVideoPlayer>(*page);
        return films.size() == 1 ? films.front() : nullptr;
    }
};

bool allTransparent(const QImage& image, const QRect& area) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) return false;
        }
    }
    return true;
}

TEST_F(OnboardingVideoPlayerTest, TheToursFilmPlaysWhileItsPageIsShownAndStartsAgainOnEachShowing) {
    OnboardingState::shared().setCurrentStep(OnboardingStep::shortcuts);
    OnboardingView view(OnboardingView::Dependencies{OnboardingState::shared(), LanguageManager::shared(),
                                                     ShortcutSettings::shared(), [] { return 1; }});
    QPointer<OnboardingVideoPlayer> film = filmOf<ShortcutsView>(view);
    ASSERT_TRUE(film) << "the program's shortcut_demo.mp4 is missing";
    EXPECT_EQ(film->size(), QSize(500, 375));
    EXPECT_FALSE(film->isPlaying()) << "nothing plays before the window is shown";

    view.show();
    expectPlaying(*film);
    EXPECT_EQ(film->pictureRect(), QRectF(0, 0, 500, 375)) << "a 4:3 film fills its 4:3 frame";
    ASSERT_TRUE(waitFor([&] { return position(*film) > playedBeforeLeaving; }));

    // Closing the window stops and releases the player; it does not go on decoding unseen.
    view.close();
    EXPECT_FALSE(film->isPlaying());
    EXPECT_FALSE(film->positionMilliseconds());
    EXPECT_TRUE(film->pictureRect().isEmpty()) << "the old picture is not kept for the next showing";

    // Shown again, a new player starts from the first frame.
    view.show();
    ASSERT_TRUE(waitFor([&] { return film->isPlaying(); }));
    EXPECT_LT(position(*film), seenAfterRestart);
    expectPlaying(*film);

    // Leaving the page takes the player with it.
    OnboardingState::shared().nextStep();
    EXPECT_FALSE(film) << "the page and its film are gone";
    auto* dragFilm = filmOf<DragModeView>(view);
    ASSERT_TRUE(dragFilm) << "the program's drag_and_drop_demo.mp4 is missing";
    EXPECT_EQ(dragFilm->size(), QSize(480, 360));
    expectPlaying(*dragFilm);
}

TEST_F(OnboardingVideoPlayerTest, AtTheEndTheFilmStartsAgainWithoutEnd) {
    OnboardingVideoPlayer player(oneSecondFilm, 12);
    player.resize(160, 120);
    player.show();
    expectPlaying(player);
    for (int loop = 0; loop < 2; ++loop) {
        SCOPED_TRACE(loop);
        ASSERT_TRUE(waitFor([&] { return position(player) >= 600; })) << "never near the end";
        ASSERT_TRUE(waitFor([&] { return position(player) >= 0 && position(player) < 400; })) << "did not start again";
        EXPECT_TRUE(waitFor([&] { return player.isPlaying(); }));
    }
}

TEST_F(OnboardingVideoPlayerTest, AFrameOfOtherProportionsShowsTheWholePictureBetweenEmptyBands) {
    OnboardingVideoPlayer player(oneSecondFilm, 0);
    player.resize(400, 150);
    player.show();
    expectPlaying(player);
    EXPECT_EQ(player.pictureRect(), QRectF(100, 0, 200, 150));
    const QImage image = painted(player);
    EXPECT_TRUE(allTransparent(image, {0, 0, 99, 150})) << "left band";
    EXPECT_TRUE(allTransparent(image, {301, 0, 99, 150})) << "right band";
    const QColor picture = image.pixelColor(200, 75);
    EXPECT_EQ(picture.alpha(), 255);
    EXPECT_NEAR(picture.red(), 0xd0, 8) << "the film's own colours";
    EXPECT_NEAR(picture.green(), 0x30, 8);
    EXPECT_NEAR(picture.blue(), 0x20, 8);
}

TEST_F(OnboardingVideoPlayerTest, AFilmThatCannotBePlayedLeavesTheAreaEmpty) {
    ::zentaris::testing::TemporaryDirectory bundle;
    std::filesystem::create_directories(bundle / "en.lproj");
    std::filesystem::create_symlink(originalBundle.resourcePath() / "icons", bundle / "icons");
    ::zentaris::testing::writeFile(bundle / "shortcut_demo.mp4", "not a film at all, only some words");
    platform::Bundle::setMain(platform::Bundle(bundle.path(), std::nullopt));
    ShortcutsView page(LanguageManager::shared());
    page.resize(900, 700);
    page.show();
    const auto films = childrenOf<OnboardingVideoPlayer>(page);
    ASSERT_EQ(films.size(), 1u);
    auto* film = films.front();
    ASSERT_TRUE(waitFor([&] { return film->hasFailed(); }));
    EXPECT_FALSE(film->isPlaying());
    EXPECT_EQ(tutorial::filmPlayerCount().alive, 0) << "a player that failed is not kept for another showing";
    // The frame and the margin its shadow would fall in.
    const QRect area = film->geometry().adjusted(-8, -8, 8, 12);
    EXPECT_TRUE(allTransparent(painted(page), area)) << "neither a black box nor a shadow";
}

// Qt Multimedia ends the process when no backend loads; the page must live on without its film.
TEST_F(OnboardingVideoPlayerTest, WithoutAMediaBackendThePageShowsEverythingButTheFilm) {
    qputenv("QT_MEDIA_BACKEND", "no-such-backend");
    OnboardingState::shared().setCurrentStep(OnboardingStep::dragMode);
    OnboardingView view(OnboardingView::Dependencies{OnboardingState::shared(), LanguageManager::shared(),
                                                     ShortcutSettings::shared(), [] { return 1; }});
    view.show();
    auto* film = filmOf<DragModeView>(view);
    ASSERT_TRUE(film);
    ASSERT_TRUE(waitFor([&] { return film->hasFailed(); }));
    EXPECT_FALSE(film->isPlaying());
    EXPECT_TRUE(allTransparent(painted(*film), film->rect()));
    EXPECT_TRUE(showsLabel(*view.currentPage(), "Drag to Snap")) << "the rest of the page is there";
}

// Shutting a playing player down waits on the media backend's threads, and every new player takes
// memory that is not all given back: a page change parks the film's player instead, and the next
// showing of that film plays it again.
TEST_F(OnboardingVideoPlayerTest, EachFilmKeepsOnePlayerAcrossPageChangesUntilItIsNotShownForAWhile) {
    auto view = makeView(OnboardingStep::shortcuts);
    const auto before = tutorial::filmPlayerCount();
    view->show();
    // Each showing plays from the first frame to well past it.
    const auto playShowing = [&](OnboardingVideoPlayer* film) {
        ASSERT_TRUE(film);
        ASSERT_TRUE(waitFor([&] { return film->isPlaying(); }));
        EXPECT_LT(position(*film), seenAfterRestart) << "a player played again starts from the first frame";
        expectPlaying(*film);
        ASSERT_TRUE(waitFor([&] { return position(*film) > playedBeforeLeaving; }));
    };
    playShowing(filmOf<ShortcutsView>(*view));
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        OnboardingState::shared().nextStep();
        EXPECT_EQ(tutorial::filmPlayerCount().alive, before.alive + (round == 0 ? 1 : 2))
            << "leaving the page did not shut its player down";
        playShowing(filmOf<DragModeView>(*view));
        OnboardingState::shared().previousStep();
        playShowing(filmOf<ShortcutsView>(*view));
    }
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 2) << "one player per film";

    // Once the window is closed the kept player goes after a while (the other film's was kept
    // for longer when its page was left).
    const auto keep = tutorial::keepParkedPlayersFor(300ms);
    view->close();
    EXPECT_EQ(tutorial::filmPlayerCount().alive, before.alive + 2);
    EXPECT_TRUE(waitFor([&] { return tutorial::filmPlayerCount().alive == before.alive + 1; }));
    tutorial::keepParkedPlayersFor(keep);
    view->show();
    expectPlaying(*filmOf<ShortcutsView>(*view));
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 3) << "a released player is made anew";
}

// Clicking through the film pages quickly neither makes nor wakes a player; a page that stays on
// screen plays its film.
TEST_F(OnboardingVideoPlayerTest, PassingThroughTheFilmPagesQuicklyWakesNoPlayer) {
    auto view = makeView(OnboardingStep::menuBar);
    view->show();
    const auto before = tutorial::filmPlayerCount();
    auto& state = OnboardingState::shared();
    for (int pass = 0; pass < 10; ++pass) {
        for (auto step : {&OnboardingState::nextStep, &OnboardingState::nextStep, &OnboardingState::previousStep,
                          &OnboardingState::previousStep}) {
            (state.*step)();
            settle();
            for (auto* film : childrenOf<OnboardingVideoPlayer>(*view)) EXPECT_FALSE(film->isPlaying());
        }
    }
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made);
    state.nextStep();
    auto* film = filmOf<ShortcutsView>(*view);
    ASSERT_TRUE(film);
    expectPlaying(*film);
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 1);
}

} // namespace
