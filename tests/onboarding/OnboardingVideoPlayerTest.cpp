// Real films through the media module, on the offscreen platform.
#include "OnboardingViewTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "onboarding/DragModeView.h"
#include "onboarding/FilmPlayback.h"
#include "onboarding/FreedHeap.h"
#include "onboarding/OnboardingVideoPlayer.h"
#include "onboarding/OnboardingView.h"
#include "onboarding/ShortcutsView.h"

#include <QDir>
#include <QLibraryInfo>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <string>

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

// Our child processes that are film players, zombies included.
std::size_t filmPlayerProcesses() {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task", error)) {
        std::ifstream children(task.path() / "children");
        for (pid_t child; children >> child;) {
            std::ifstream name("/proc/" + std::to_string(child) + "/comm");
            std::string comm;
            if (std::getline(name, comm) && comm.rfind("zentaris-film", 0) == 0) ++count;
        }
    }
    return count;
}

// Whether a library whose path holds `part` is mapped into this process.
bool mapped(const std::string& part) {
    std::ifstream maps("/proc/self/maps");
    for (std::string line; std::getline(maps, line);) {
        if (line.find(part) != std::string::npos) return true;
    }
    return false;
}

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
    // The film plays in a process of its own: no media library comes into this one.
    EXPECT_FALSE(mapped("libQt6Multimedia")) << "Qt Multimedia was loaded into the program";
    EXPECT_FALSE(mapped("libavcodec")) << "a decoder was loaded into the program";
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

// Leaving a film page parks its player, so that coming back shows the film at once; showing the
// other film lets the parked one go, so that no more than one player (a process each) is alive.
TEST_F(OnboardingVideoPlayerTest, AFilmShownAgainPlaysItsParkedPlayerAndOnlyOnePlayerLives) {
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
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        OnboardingState::shared().previousStep();
        EXPECT_EQ(tutorial::filmPlayerCount().alive, before.alive + 1) << "leaving the page shut its player down";
        OnboardingState::shared().nextStep();
        playShowing(filmOf<ShortcutsView>(*view));
        EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 1) << "the parked player plays again";
    }
    OnboardingState::shared().nextStep();
    playShowing(filmOf<DragModeView>(*view));
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 2);
    EXPECT_EQ(tutorial::filmPlayerCount().alive, before.alive + 1) << "the other film's parked player lives on";
    EXPECT_EQ(filmPlayerProcesses(), 1u);

    // Once the window is closed the parked player goes after a while, and its process with it.
    const auto keep = tutorial::keepParkedPlayersFor(300ms);
    view->close();
    settle();
    EXPECT_EQ(tutorial::filmPlayerCount().alive, before.alive + 1);
    // The heap the pictures took is handed back once the last player is gone, not only on closing.
    const int givenBack = tutorial::freedHeapGivenBackCount();
    EXPECT_TRUE(waitFor([&] { return tutorial::filmPlayerCount().alive == before.alive; }));
    EXPECT_EQ(tutorial::freedHeapGivenBackCount(), givenBack + 1);
    EXPECT_TRUE(waitFor([] { return filmPlayerProcesses() == 0; })) << "the player's process is left behind";
    tutorial::keepParkedPlayersFor(keep);
    view->show();
    expectPlaying(*filmOf<DragModeView>(*view));
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 3) << "a released player is made anew";
}

// A parked player's release timer belongs to that parking: once the player has been taken back,
// a later parking keeps it for its own full time.
TEST_F(OnboardingVideoPlayerTest, APlayerParkedAgainIsNotReleasedByAnEarlierParkingsTimer) {
    const auto before = tutorial::filmPlayerCount();
    const auto keep = tutorial::keepParkedPlayersFor(300ms);
    auto showing = tutorial::showFilm(oneSecondFilm.string(), {});
    ASSERT_TRUE(showing);
    showing.reset();
    // Started after the first parking with the same delay, so it fires after that parking's timer.
    bool firstTimerPassed = false;
    QTimer::singleShot(300ms, [&] { firstTimerPassed = true; });
    tutorial::keepParkedPlayersFor(1h);
    showing = tutorial::showFilm(oneSecondFilm.string(), {});
    ASSERT_TRUE(showing);
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 1) << "the parked player was not taken back";
    showing.reset();
    ASSERT_TRUE(waitFor([&] { return firstTimerPassed; }));
    EXPECT_EQ(tutorial::filmPlayerCount().alive, before.alive + 1) << "released by the first parking's timer";
    showing = tutorial::showFilm(oneSecondFilm.string(), {});
    EXPECT_EQ(tutorial::filmPlayerCount().made, before.made + 1);
    showing.reset();
    tutorial::keepParkedPlayersFor(keep);
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
