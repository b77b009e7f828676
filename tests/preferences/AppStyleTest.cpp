#include "preferences/AppStyle.h"

#include <QApplication>
#include <QGraphicsDropShadowEffect>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

using namespace zentaris;

namespace {
QApplication& application() {
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication app(argc, argv);
    return app;
}
} // namespace

TEST(AppStyle, FontsFollowTheirScale) {
    application();
    const std::vector<std::pair<const QFont*, double>> sizes{
        {&AppStyle::titleFont(), 22}, {&AppStyle::headlineFont(), 18}, {&AppStyle::subheadlineFont(), 16},
        {&AppStyle::sectionTitleFont(), 14}, {&AppStyle::bodyFont(), 13}, {&AppStyle::calloutFont(), 12},
        {&AppStyle::captionFont(), 11}, {&AppStyle::badgeFont(), 10}};
    for (const auto& [font, points] : sizes) EXPECT_DOUBLE_EQ(font->pointSizeF(), points);
    EXPECT_EQ(AppStyle::titleFont().weight(), QFont::DemiBold);
    EXPECT_EQ(AppStyle::badgeFont().weight(), QFont::Medium);
}

TEST(AppStyle, CardColoursFollowADarkPaletteAndKeepTheShadow) {
    auto& app = application();
    const QPalette original = app.palette();
    QPalette dark = original;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Window, QColor(40, 40, 40));
    app.setPalette(dark);
    EXPECT_EQ(AppStyle::cardBackgroundColor(), QColor(30, 30, 30));
    EXPECT_NEAR(AppStyle::windowBackgroundColor().alphaF(), 0.8, 0.01);

    QWidget card;
    AppStyle::applyCardStyle(&card);
    auto* shadow = qobject_cast<QGraphicsDropShadowEffect*>(card.graphicsEffect());
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->offset(), QPointF(0, 1));
    EXPECT_NEAR(shadow->color().alphaF(), 0.1, 0.01);
    EXPECT_NE(card.styleSheet().indexOf("border-radius: 8px"), -1);
    EXPECT_TRUE(card.styleSheet().startsWith("#card {")) << "the card's look stays on the card, not on its controls";
    app.setPalette(original);
}

TEST(AppStyle, AnimationTimings) {
    EXPECT_DOUBLE_EQ(AppStyle::quickAnimation().duration, 0.2);
    EXPECT_DOUBLE_EQ(AppStyle::standardAnimation().duration, 0.3);
    EXPECT_DOUBLE_EQ(AppStyle::springAnimation().dampingFraction, 0.7);
}
