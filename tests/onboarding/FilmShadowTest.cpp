// The soft shadow under a tutorial film, and its absence under a film that could not be loaded.
#include "OnboardingViewTestSupport.h"
#include "onboarding/DragModeView.h"
#include "onboarding/FilmShadow.h"
#include "onboarding/OnboardingVideoPlayer.h"

#include <QImage>
#include <QTest>

#include <algorithm>

using namespace zentaris;
using zentaris::testing::TutorialFixture;
using zentaris::testing::painted;

namespace {

using FilmShadowTest = TutorialFixture;

// The strongest alpha in the band a shadow falls in: around `frame` and 12 further below it
// (radius 8, offset 4), the frame itself left out.
int strongestAround(const QImage& image, const QRect& frame) {
    const QRect band = frame.adjusted(-8, -8, 8, 12).intersected(image.rect());
    int strongest = 0;
    for (int y = band.top(); y <= band.bottom(); ++y) {
        for (int x = band.left(); x <= band.right(); ++x) {
            if (!frame.contains(x, y)) strongest = std::max(strongest, qAlpha(image.pixel(x, y)));
        }
    }
    return strongest;
}

TEST_F(FilmShadowTest, AShadowFallsUnderItsFrameAndFollowsIt) {
    QWidget page;
    page.resize(400, 300);
    auto* frame = new QWidget(&page);
    frame->setGeometry(100, 80, 160, 90);
    new tutorial::FilmShadow(frame, 0.15, 10, 4, 10);
    page.show();
    settle();
    EXPECT_GT(strongestAround(painted(page), frame->geometry()), 8) << "a shadow under the frame";

    const QRect before = frame->geometry();
    frame->move(230, 200);
    settle();
    const QImage moved = painted(page);
    EXPECT_GT(strongestAround(moved, frame->geometry()), 8) << "the shadow came along";
    EXPECT_EQ(strongestAround(moved, before), 0) << "and left nothing behind";

    frame->hide();
    settle();
    EXPECT_EQ(strongestAround(painted(page), frame->geometry()), 0) << "no shadow under a hidden frame";
}

// Qt Multimedia finds no backend here, so the film fails the moment its page shows it.
TEST_F(FilmShadowTest, AFilmThatFailedToLoadCastsNoShadowOnAnyShowing) {
    qputenv("QT_MEDIA_BACKEND", "no-such-backend");
    DragModeView page(LanguageManager::shared(), ShortcutSettings::shared());
    page.resize(900, 700);
    const auto films = childrenOf<OnboardingVideoPlayer>(page);
    ASSERT_EQ(films.size(), 1u) << "the program's drag_and_drop_demo.mp4 is missing";
    auto* film = films.front();
    for (const char* showing : {"first showing", "shown again"}) {
        SCOPED_TRACE(showing);
        page.show();
        // The film starts a moment after its page is shown, and fails then.
        EXPECT_TRUE(QTest::qWaitFor([&] { return film->hasFailed(); }, 5000));
        settle();
        EXPECT_EQ(strongestAround(painted(page), film->geometry()), 0) << "a shadow of nothing";
        page.hide();
    }
    qunsetenv("QT_MEDIA_BACKEND");
}

} // namespace
