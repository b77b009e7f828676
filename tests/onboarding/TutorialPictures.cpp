// Pictures of the tutorial's seven pages in the window's 900 by 750, for the pictures command.
#include "OnboardingViewTestSupport.h"
#include "onboarding/OnboardingView.h"
#include "pictures/PictureFolder.h"

#include <QTest>

using namespace zentaris;

namespace {

using TutorialPictures = zentaris::testing::TutorialFixture;

TEST_F(TutorialPictures, EveryPage) {
    OnboardingView view(OnboardingView::Dependencies{OnboardingState::shared(), LanguageManager::shared(),
                                                     ShortcutSettings::shared(), [] { return 2; }});
    view.resize(900, 750);
    view.show();
    for (auto step : allOnboardingSteps) {
        OnboardingState::shared().setCurrentStep(step);
        // Past the cross-fade, and long enough for a film to show its pictures.
        QTest::qWait(1500);
        zentaris::testing::savePicture(view, "tutorial-page-" + std::to_string(rawValue(step) + 1));
    }
}

} // namespace
