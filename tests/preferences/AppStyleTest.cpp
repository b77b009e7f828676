#include "preferences/AppStyle.h"
#include "support/OffscreenApplication.h"

#include <QGraphicsDropShadowEffect>
#include <QPalette>
#include <QWidget>

#include <gtest/gtest.h>

using namespace zentaris;

TEST(AppStyle, CardColoursFollowADarkPaletteAndKeepTheShadow) {
    auto& app = zentaris::testing::offscreenApplication();
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
