// One-line texts of the tutorial sit in the middle of their boxes, in every interface language:
// the completion page's badge labels and the multi-monitor page's shortcut rows.
#include "OnboardingViewTestSupport.h"
#include "onboarding/CompletionView.h"
#include "onboarding/LineLimitedLabel.h"
#include "onboarding/MultiMonitorView.h"

#include <QLayout>

#include <optional>
#include <string>

using namespace zentaris;
using tutorial::LineLimitedLabel;

namespace {

struct TutorialTextCentringTest : zentaris::testing::TutorialFixture {
    // A page in the tutorial window's width.
    static void layOut(QWidget& page) {
        page.resize(900, 750);
        page.show();
        settle();
        page.layout()->activate();
        settle();
    }
};

// The first and last pixel rows that `label` paints ink on, in `box`'s coordinates.
std::optional<std::pair<int, int>> inkRows(const LineLimitedLabel& label, const QWidget& box) {
    QImage image(label.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    const_cast<LineLimitedLabel&>(label).render(&image, {}, {}, QWidget::RenderFlags());
    std::optional<std::pair<int, int>> rows;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) < 96) continue;
            const int inBox = label.mapTo(&box, QPoint(0, y)).y();
            rows = rows ? std::pair{rows->first, inBox} : std::pair{inBox, inBox};
            break;
        }
    }
    return rows;
}

// Checks that the one line of `label` has as much room above its ink as below it in `box`; an
// ascender or descender may tip it by a little.
void expectCentred(const LineLimitedLabel& label, const QWidget& box) {
    ASSERT_EQ(label.shownLines(label.width()).size(), 1);
    const auto ink = inkRows(label, box);
    ASSERT_TRUE(ink) << "the text is painted";
    const int above = ink->first, below = box.height() - 1 - ink->second;
    EXPECT_LE(std::abs(above - below), label.fontMetrics().lineSpacing() / 4 + 1)
        << label.text().toStdString() << ": " << above << " above the text, " << below << " below, in " << box.height();
}

TEST_F(TutorialTextCentringTest, OneLineBadgeLabelsAndScreenShortcutsSitInTheMiddleOfTheirBoxes) {
    int badgesChecked = 0, cellsChecked = 0;
    for (const char* code : LanguageManager::supportedLanguageCodes) {
        SCOPED_TRACE(code);
        LanguageManager::shared().setLanguage(code);

        CompletionView completion(LanguageManager::shared());
        layOut(completion);
        for (const auto* badge : childrenOf<FeatureSummaryBadge>(completion)) {
            const LineLimitedLabel& label = *badge->label();
            if (label.shownLines(label.width()).size() != 1) continue;
            expectCentred(label, label);
            ++badgesChecked;
        }

        MultiMonitorView screens(LanguageManager::shared(), 2);
        layOut(screens);
        for (const auto* cell : childrenOf<MultiMonitorShortcut>(screens)) {
            const auto descriptions = childrenOf<LineLimitedLabel>(*cell);
            ASSERT_EQ(descriptions.size(), 1u);
            if (descriptions.front()->shownLines(descriptions.front()->width()).size() != 1) continue;
            expectCentred(*descriptions.front(), *cell);
            ++cellsChecked;
        }
    }
    // Most labels take one line; the check must not pass by finding none.
    EXPECT_GT(badgesChecked, 17 * 3);
    EXPECT_GT(cellsChecked, 17 * 2);
}

} // namespace
