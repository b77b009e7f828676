// Pictures of the feedback cards on a grey ground, settled and at their start, for the pictures
// command.
#include "OnboardingViewTestSupport.h"
#include "pictures/PictureFolder.h"
#include "views/FeedbackCards.h"

using namespace zentaris;

namespace {

using FeedbackCardPictures = zentaris::testing::TutorialFixture;

void save(FeedbackCardView& card, const QSize& panel, double seconds, const std::string& name) {
    card.resize(panel);
    card.freezeClock(seconds);
    QImage image(panel, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(128, 128, 128));
    card.render(&image);
    zentaris::testing::savePicture(image, "card-" + name);
}

TEST_F(FeedbackCardPictures, EveryCard) {
    DragModeToggleFeedbackView on(true), off(false);
    save(on, {280, 90}, 2.0, "toggle-on");
    save(off, {280, 90}, 2.0, "toggle-off");
    TooManyWindowsFeedbackView tooMany(2, 3);
    save(tooMany, {400, 110}, 2.0, "too-many");
    CancellationFeedbackView cancelled;
    save(cancelled, {280, 90}, 2.0, "cancelled");
    save(cancelled, {280, 90}, 0.0, "cancelled-start");
}

} // namespace
