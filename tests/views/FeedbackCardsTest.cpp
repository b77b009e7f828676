#include "support/OffscreenApplication.h"
#include "platform/UserDefaults.h"
#include "platform/fake/FakeHotKeys.h"
#include "platform/fake/FakeMainQueue.h"
#include "preferences/LanguageManager.h"
#include "preferences/SystemColors.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/Registry.h"
#include "views/DragPreviewView.h"
#include "views/FeedbackCards.h"

#include <gtest/gtest.h>

#include <QImage>

#include <functional>

using namespace zentaris;

namespace {

struct FeedbackCardsTest : ::testing::Test {
    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue queue;
    platform::fake::FakeHotKeys hotKeys;

    FeedbackCardsTest() {
        zentaris::testing::offscreenApplication();
        platform::UserDefaults::installStandard(&defaults);
        platform::MainQueue::installMain(&queue);
        platform::HotKeys::installShared(&hotKeys);
        LanguageManager::resetShared();
        GlobalShortcuts::Registry::resetShared();
    }
    ~FeedbackCardsTest() override {
        GlobalShortcuts::Registry::resetShared();
        LanguageManager::resetShared();
        platform::UserDefaults::installStandard(nullptr);
    }
};

// The card drawn as it stands `seconds` after coming on screen.
QImage drawnAt(FeedbackCardView& card, const QSize& panel, double seconds) {
    card.resize(panel);
    card.freezeClock(seconds);
    QImage image(panel, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(128, 128, 128));
    card.render(&image);
    return image;
}

FeedbackCardView::Style wrappingStyle(const QString& title, const QString& hint) {
    FeedbackCardView::Style style;
    style.accent = Qt::red;
    style.symbol = "xmark.octagon.fill";
    style.title = title;
    style.hint = hint;
    return style;
}

} // namespace

TEST_F(FeedbackCardsTest, TheToggleCardFollowsTheNewState) {
    struct Case {
        bool on;
        const char* symbol;
        const char* titleEnd;
        bool green;
    };
    for (const auto& c : {Case{true, "hand.raised.fill", ": ON", true}, Case{false, "hand.raised.slash.fill", ": OFF", false}}) {
        DragModeToggleFeedbackView card(c.on);
        EXPECT_EQ(card.style().symbol, c.symbol);
        EXPECT_TRUE(card.style().title.endsWith(QString::fromUtf8(c.titleEnd))) << card.style().title.toStdString();
        EXPECT_EQ(card.style().accent.green() > card.style().accent.red(), c.green);
        EXPECT_EQ(card.style().second, card.style().accent) << "one colour throughout";
        EXPECT_EQ(card.style().firstGlow, card.style().accent);

        const QImage image = drawnAt(card, {280, 90}, 2.0);
        const QRectF box = card.cardRect();
        const QColor icon = image.pixelColor(QPoint(int(box.left() + 24 + 24), int(box.center().y())));
        EXPECT_EQ(icon.green() > icon.red(), c.green) << "the symbol is drawn in the accent colour";

        // Right to left, the icon (48 wide, 24 in from the edge) stands at the right end of the card.
        card.setLayoutDirection(Qt::RightToLeft);
        const QImage mirrored = drawnAt(card, {280, 90}, 2.0);
        const int top = int(box.center().y()) - 24;
        const QImage leftIcon = image.copy(int(box.left()) + 24, top, 48, 48);
        const QImage rightIcon = mirrored.copy(int(box.right()) - 72, top, 48, 48);
        int unlike = 0;
        for (int x = 0; x < 48; ++x) {
            for (int y = 0; y < 48; ++y) {
                const QColor a = leftIcon.pixelColor(x, y), b = rightIcon.pixelColor(x, y);
                unlike += std::abs(a.green() - b.green()) + std::abs(a.red() - b.red()) > 80;
            }
        }
        EXPECT_LT(unlike, 48 * 48 / 10) << "the same icon, at the leading edge";
    }
}

TEST_F(FeedbackCardsTest, OnlyTheCancelledCardRingsInOrange) {
    const QColor red = SystemColors::red(), orange = SystemColors::orange();
    struct Case {
        const char* card;
        FeedbackCardView::Style style;
        QColor accent, second, secondGlow, ringThird;
    };
    for (const auto& c : {Case{"cancelled", CancellationFeedbackView().style(), red, SystemColors::pink(), orange, orange},
                          Case{"too many", TooManyWindowsFeedbackView(2, 3).style(), red, orange, orange, red},
                          Case{"toggle off", DragModeToggleFeedbackView(false).style(), red, red, red, red}}) {
        SCOPED_TRACE(c.card);
        const auto name = [](const QColor& colour) { return colour.name(QColor::HexArgb).toStdString(); };
        EXPECT_EQ(name(c.style.accent), name(c.accent));
        EXPECT_EQ(name(c.style.second), name(c.second));
        EXPECT_EQ(name(c.style.firstGlow), name(c.accent));
        EXPECT_EQ(name(c.style.secondGlow), name(c.secondGlow));
        EXPECT_EQ(name(c.style.ringThird), name(c.ringThird)) << "the ring's third colour";
    }
}

TEST_F(FeedbackCardsTest, TheToggleBadgeShowsTheStoredDragModeShortcut) {
    const GlobalShortcuts::Name name("toggleDragMode");
    EXPECT_FALSE(DragModeToggleFeedbackView(true).style().badge) << "no shortcut: the keyboard symbol alone";
    GlobalShortcuts::setShortcut(GlobalShortcuts::Shortcut::init(GlobalShortcuts::Key::d,
                                                                 GlobalShortcuts::ModifierFlags{GlobalShortcuts::ModifierFlags::shift |
                                                                                                GlobalShortcuts::ModifierFlags::command}),
                                 name);
    const auto badge = DragModeToggleFeedbackView(true).style().badge;
    ASSERT_TRUE(badge);
    EXPECT_EQ(*badge, QString::fromStdString(GlobalShortcuts::getShortcut(name)->description()));
    EXPECT_EQ(CancellationFeedbackView().style().badge, QStringLiteral("ESC"));
}

TEST_F(FeedbackCardsTest, TheTooManyHintTakesRequiredThenActual) {
    TooManyWindowsFeedbackView card(2, 3);
    ASSERT_TRUE(card.style().hint);
    EXPECT_EQ(*card.style().hint, QStringLiteral("This layout arranges 2 windows, but 3 are open on this screen."));
}

TEST_F(FeedbackCardsTest, ALongToggleTitleStaysOnOneLineAndWidensTheCard) {
    auto style = DragModeToggleFeedbackView(true).style();
    FeedbackCardView shortCard(style);
    style.title = QString(60, QLatin1Char('W'));
    FeedbackCardView longCard(style);
    shortCard.resize(280, 90);
    longCard.resize(280, 90);
    EXPECT_GT(longCard.cardRect().width(), 280);
    EXPECT_DOUBLE_EQ(longCard.cardRect().height(), shortCard.cardRect().height());
}

TEST_F(FeedbackCardsTest, LongTooManyTextsWrapToTwoAndThreeLines) {
    const QString word = QStringLiteral("windows ");
    FeedbackCardView shortCard(wrappingStyle(QStringLiteral("Too many"), QStringLiteral("Two of three")));
    FeedbackCardView longCard(wrappingStyle(word.repeated(8), word.repeated(12)));
    FeedbackCardView longerCard(wrappingStyle(word.repeated(40), word.repeated(60)));
    for (auto* card : {&shortCard, &longCard, &longerCard}) card->resize(400, 110);
    EXPECT_LE(longCard.cardRect().width(), 400) << "the text wraps within the panel's width";
    EXPECT_GT(longCard.cardRect().height(), shortCard.cardRect().height());
    EXPECT_DOUBLE_EQ(longerCard.cardRect().height(), longCard.cardRect().height()) << "two and three lines at most";
}

TEST_F(FeedbackCardsTest, TheEntranceRevealsTurnsAndBouncesTheIcon) {
    CancellationFeedbackView card;
    card.freezeClock(0);
    const auto start = card.frameAt(0);
    EXPECT_DOUBLE_EQ(start.visibility, 0);
    EXPECT_DOUBLE_EQ(start.iconScale, 0.3);
    EXPECT_DOUBLE_EQ(start.titleSlide, -30);
    EXPECT_DOUBLE_EQ(card.frameAt(0.1).iconRotation, 0) << "the turn starts at 0.1 s";
    EXPECT_GT(card.frameAt(0.3).iconRotation, 180);
    EXPECT_DOUBLE_EQ(card.frameAt(0.6).iconRotation, 360);
    EXPECT_NEAR(card.frameAt(0.6).iconScale, 1.0, 0.02);
    EXPECT_GT(card.frameAt(0.78).iconScale, 1.05) << "swelling towards 1.1";
    EXPECT_NEAR(card.frameAt(1.6).iconScale, 1.0, 0.01);
    EXPECT_NEAR(card.frameAt(1.6).glowIntensity, 1.0, 1e-9);
    EXPECT_NEAR(card.frameAt(1.6).titleSlide, 0, 1e-9);
    // The sparkles appear one after another, 0.1 s apart.
    const auto early = card.frameAt(0.15);
    EXPECT_GT(early.sparkleVisibility[0], early.sparkleVisibility[1]);
    EXPECT_DOUBLE_EQ(early.sparkleVisibility[2], 0);
}

TEST_F(FeedbackCardsTest, ThePreviewIsATranslucentFillWithASquareBorder) {
    DragPreviewView preview;
    preview.resize(200, 100);
    QImage image(200, 100, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    preview.render(&image);
    const QColor corner = image.pixelColor(0, 0);
    EXPECT_EQ(corner.alpha(), 255) << "square corners: the border reaches the very corner";
    EXPECT_EQ(corner.blue(), DragPreviewView::blue().blue());
    const QColor inside = image.pixelColor(100, 50);
    EXPECT_NEAR(inside.alphaF(), 0.3, 0.01);
    EXPECT_NEAR(image.pixelColor(2, 50).alphaF(), 0.3, 0.01) << "the border is 2 pixels wide";
}

// Pure colours on a grey card, so that each colour of the ring can be told apart on the pixels.
FeedbackCardView::Style threeColourRing() {
    FeedbackCardView::Style style;
    style.accent = QColor(255, 0, 0);
    style.second = QColor(0, 255, 0);
    style.ringThird = QColor(0, 0, 255);
    style.firstGlow = style.secondGlow = QColor(128, 128, 128);
    style.symbol = "xmark.circle.fill";
    style.title = QStringLiteral("Title");
    style.hasHintRow = true;
    return style;
}

void paintGrey(FeedbackCardView& card) {
    QPalette palette = card.palette();
    palette.setColor(QPalette::Window, QColor(128, 128, 128));
    card.setPalette(palette);
}

TEST_F(FeedbackCardsTest, TheRingShowsEachColourAtItsStopAndTurnsWithTheRing) {
    FeedbackCardView card(threeColourRing());
    paintGrey(card);
    // At 2.25 s the ring has turned 45 degrees and its gradient starts 45 degrees further on, so
    // the stops stand at 90, 210 and 330 degrees clockwise from three o'clock, clear of the
    // sparkles (at 30, 150 and 270).
    const QImage image = drawnAt(card, {280, 90}, 2.25);
    const QRectF box = card.cardRect();
    const QPointF centre(box.left() + 24 + 24, box.center().y());
    auto at = [&](double degrees, double radius) {
        const double angle = degrees * M_PI / 180;
        return image.pixelColor(QPointF(centre.x() + radius * std::cos(angle), centre.y() + radius * std::sin(angle)).toPoint());
    };
    struct Stop {
        const char* colour;
        double degrees;
        int channel; // 0 red, 1 green, 2 blue
        double opacity;
    };
    // The ring is drawn at 0.8 of each stop's own opacity.
    for (const auto& stop : {Stop{"accent", 90, 0, 0.8 * 0.6}, Stop{"second", 210, 1, 0.8 * 0.4}, Stop{"third", 330, 2, 0.8 * 0.3}}) {
        SCOPED_TRACE(stop.colour);
        const QColor ground = at(stop.degrees, 34);
        // The most strongly coloured pixel across the ring's stroke (23 points out, grown by 15 %).
        QColor strongest = ground;
        double strongestShare = 0;
        for (double radius = 23; radius <= 30; radius += 0.5) {
            const QColor pixel = at(stop.degrees, radius);
            const int channels[] = {pixel.red(), pixel.green(), pixel.blue()};
            const int grounds[] = {ground.red(), ground.green(), ground.blue()};
            double others = 0, otherGrounds = 0;
            for (int c = 0; c < 3; ++c) {
                if (c == stop.channel) continue;
                others += channels[c];
                otherGrounds += grounds[c];
            }
            // Over the ground a pure colour at opacity a leaves (1 - a) of the other channels.
            const double share = 1 - others / otherGrounds;
            if (share > strongestShare) {
                strongestShare = share;
                strongest = pixel;
            }
        }
        const int channels[] = {strongest.red(), strongest.green(), strongest.blue()};
        for (int c = 0; c < 3; ++c) {
            if (c != stop.channel) {
                EXPECT_GT(channels[stop.channel], channels[c] + 30) << "channel " << c;
            }
        }
        EXPECT_NEAR(strongestShare, stop.opacity, 0.06);
    }
}

// The left edge of the dark pixels (the title's glyphs) in the rows above the middle of the card,
// left of `rightLimit`.
int titleInkLeft(const QImage& image, const QRectF& card, int rightLimit) {
    int left = image.width();
    for (int y = static_cast<int>(card.top()) + 4; y < static_cast<int>(card.center().y()) - 2; ++y) {
        for (int x = static_cast<int>(card.left()) + 4; x < rightLimit; ++x) {
            if (qGray(image.pixel(x, y)) < 70) left = std::min(left, x);
        }
    }
    return left;
}

TEST_F(FeedbackCardsTest, RightToLeftTheTitleSlidesInAwayFromTheIconAsItDoesLeftToRight) {
    FeedbackCardView card(threeColourRing());
    paintGrey(card);
    card.setLayoutDirection(Qt::RightToLeft);
    const QSize panel(280, 90);
    const QImage settled = drawnAt(card, panel, 3.0);
    // Halfway through the title's slide, which runs from 0.2 s to 0.8 s.
    const double halfway = 0.5;
    const double offset = card.frameAt(halfway).titleSlide;
    ASSERT_LT(offset, -5) << "still on its way";
    const QImage moving = drawnAt(card, panel, halfway);
    const QRectF box = card.cardRect();
    const int iconArea = static_cast<int>(box.right()) - 24 - 48 - 16;
    const int restingLeft = titleInkLeft(settled, box, iconArea);
    const int movingLeft = titleInkLeft(moving, box, iconArea);
    ASSERT_LT(restingLeft, iconArea) << "the title is drawn left of the icon";
    EXPECT_NEAR(movingLeft - restingLeft, -offset, 2) << "the title still stands right of its place, on the icon's side";
}

TEST_F(FeedbackCardsTest, TooManyTextsThatFillTheirLastLineExactlyAreShownWhole) {
    // Word after word, the title up to two lines and the hint up to three come whole; the first
    // word that needs one more line is the first that ends the last line in an ellipsis.
    const QChar ellipsis(0x2026);
    struct Text {
        const char* text;
        int maximumLines;
        std::function<FeedbackCardView::Style(const QString&)> style;
        QStringList (FeedbackCardView::*lines)() const;
    };
    const Text texts[] = {
        {"title", 2, [](const QString& words) { return wrappingStyle(words, QStringLiteral("Hint")); }, &FeedbackCardView::titleLines},
        {"hint", 3, [](const QString& words) { return wrappingStyle(QStringLiteral("Too many"), words); }, &FeedbackCardView::hintLines},
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text.text);
        QStringList previous;
        bool cut = false;
        for (int words = 1; words <= 80 && !cut; ++words) {
            const QString wordsText = QStringLiteral("windows ").repeated(words).trimmed();
            FeedbackCardView card(text.style(wordsText));
            card.resize(400, 110);
            const QStringList lines = (card.*text.lines)();
            ASSERT_LE(lines.size(), text.maximumLines);
            cut = lines.back().endsWith(ellipsis);
            if (cut) {
                EXPECT_EQ(previous.size(), text.maximumLines) << "cut at " << words << " words though fewer lines were used before";
            } else {
                EXPECT_EQ(lines.join(QLatin1Char(' ')), wordsText) << words << " words";
            }
            previous = lines;
        }
        EXPECT_TRUE(cut) << "eighty words do not fit";
    }
}
