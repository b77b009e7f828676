// Where the tutorial's titles, badges and descriptions break onto a new line, in every interface language.
#include "OnboardingViewTestSupport.h"
#include "support/TemporaryDirectory.h"
#include "onboarding/CompletionView.h"
#include "onboarding/DragModeView.h"
#include "onboarding/IntroductionView.h"
#include "onboarding/LineLimitedLabel.h"
#include "onboarding/MenuBarView.h"
#include "onboarding/MultiMonitorView.h"
#include "onboarding/ShortcutsView.h"

#include <QLayout>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>

using namespace zentaris;
using zentaris::testing::TutorialFixture;

namespace {

// The program's texts and pictures without its films: the pages are measured, not played.
struct TutorialTextBreaksTest : TutorialFixture {
    ::zentaris::testing::TemporaryDirectory bundle;

    TutorialTextBreaksTest() {
        for (const auto& entry : std::filesystem::directory_iterator(originalBundle.resourcePath())) {
            if (entry.path().extension() != ".mp4") std::filesystem::create_symlink(entry.path(), bundle / entry.path().filename());
        }
        platform::Bundle::setMain(platform::Bundle(bundle.path(), std::nullopt));
        resetShared();
    }

    static QString text(const char* key) { return QString::fromStdString(LanguageManager::shared().localizedString(key)); }

    // A page laid out in the tutorial window's width, tall enough for everything on it.
    static void layOut(QWidget& page) {
        constexpr int windowWidth = 900;
        page.resize(windowWidth, 750);
        page.show();
        settle();
        const int height = page.hasHeightForWidth() ? page.heightForWidth(windowWidth) : page.sizeHint().height();
        page.resize(windowWidth, std::max(750, height));
        page.layout()->activate();
        settle();
    }
};

// Whether a line may start at `position` of `text`: between words, or between the characters of
// a script written without spaces.
bool mayBreakAt(const QString& text, qsizetype position) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    finder.setPosition(position);
    return finder.isAtBoundary();
}

// Where the lines after the first start in `text`; none when the lines are not the whole text in
// order (a cut word, an ellipsis, something left out).
std::optional<std::vector<qsizetype>> lineStarts(const QString& text, const QStringList& lines) {
    std::vector<qsizetype> starts;
    qsizetype at = 0;
    auto skipSpaces = [&] {
        while (at < text.size() && text[at].isSpace()) ++at;
    };
    for (const QString& line : lines) {
        skipSpaces();
        if (at > 0) starts.push_back(at);
        if (text.mid(at, line.size()) != line) return std::nullopt;
        at += line.size();
    }
    skipSpaces();
    if (at != text.size()) return std::nullopt;
    return starts;
}

// The widest run of `text` that no line may be broken inside.
double widestUnbreakable(const QString& text, const QFont& font) {
    const QFontMetricsF metrics(font);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Line, text);
    double widest = 0;
    for (qsizetype start = 0, end = finder.toNextBoundary(); end != -1; start = end, end = finder.toNextBoundary()) {
        widest = std::max(widest, metrics.horizontalAdvance(text.mid(start, end - start).trimmed()));
    }
    return widest;
}

// The layout that holds `widget`, below `root`'s layout.
const QLayout* holderOf(const QLayout& root, const QWidget& widget) {
    if (root.indexOf(&widget) >= 0) return &root;
    for (int index = 0; index < root.count(); ++index) {
        if (const QLayout* inner = root.itemAt(index)->layout()) {
            if (const QLayout* found = holderOf(*inner, widget)) return found;
        }
    }
    return nullptr;
}

QLabel* labelShowing(const QWidget& page, const QString& text) {
    for (auto* label : page.findChildren<QLabel*>()) {
        if (label->text() == text) return label;
    }
    return nullptr;
}

// The completion badges, the descriptions of the introduction cards and the screen shortcuts, and
// the shortcut tour's rows.
TEST_F(TutorialTextBreaksTest, LineLimitedTextsBreakOnlyBetweenWordsAndAreNeverCut) {
    auto& language = LanguageManager::shared();
    const std::function<std::unique_ptr<QWidget>()> pages[] = {
        [&] { return std::make_unique<CompletionView>(language); },
        [&] { return std::make_unique<IntroductionView>(language); },
        [&] { return std::make_unique<MultiMonitorView>(language, 2); },
        [&] { return std::make_unique<ShortcutsView>(language); },
    };
    for (const char* code : LanguageManager::supportedLanguageCodes) {
        language.setLanguage(code);
        for (const auto& makePage : pages) {
            const auto page = makePage();
            layOut(*page);
            const auto labels = childrenOf<tutorial::LineLimitedLabel>(*page);
            ASSERT_FALSE(labels.empty());
            for (const auto* label : labels) {
                const QString shown = label->text().simplified();
                const QStringList lines = label->shownLines(label->width());
                SCOPED_TRACE(std::string(code) + ": " + lines.join(QStringLiteral(" / ")).toStdString());
                const auto starts = lineStarts(shown, lines);
                if (!starts) {
                    ADD_FAILURE() << "the text is cut";
                    continue;
                }
                for (const qsizetype start : *starts) EXPECT_TRUE(mayBreakAt(shown, start)) << "a line starts inside a word, at " << start;
                for (const QString& line : lines) {
                    EXPECT_LE(label->fontMetrics().horizontalAdvance(line), label->width()) << line.toStdString();
                }
                EXPECT_LE(static_cast<int>(lines.size()) * label->fontMetrics().lineSpacing(), label->height()) << "every line shows";
            }
        }
    }
}

TEST_F(TutorialTextBreaksTest, PageTitlesTakeOneLineWhenItHasRoomAndOtherwiseBreakBetweenWords) {
    using Page = std::function<std::unique_ptr<QWidget>()>;
    auto& language = LanguageManager::shared();
    const std::pair<Page, const char*> pages[] = {
        {[&] { return std::make_unique<IntroductionView>(language); }, "onboarding_control_title"},
        {[&] { return std::make_unique<MenuBarView>(language); }, "onboarding_menubar_title"},
        {[&] { return std::make_unique<ShortcutsView>(language); }, "onboarding_shortcuts_single_title"},
        {[&] { return std::make_unique<DragModeView>(language, ShortcutSettings::shared()); }, "onboarding_drag_single_title"},
        {[&] { return std::make_unique<MultiMonitorView>(language, 2); }, "onboarding_multi_monitor_title"},
        {[&] { return std::make_unique<CompletionView>(language); }, "onboarding_completion_title"},
    };
    for (const char* code : LanguageManager::supportedLanguageCodes) {
        language.setLanguage(code);
        for (const auto& [makePage, titleKey] : pages) {
            const auto page = makePage();
            layOut(*page);
            const QString title = text(titleKey);
            SCOPED_TRACE(std::string(code) + " " + titleKey + ": " + title.toStdString());
            const QLabel* label = labelShowing(*page, title);
            ASSERT_TRUE(label);
            const QLayout* row = holderOf(*page->layout(), *label);
            ASSERT_TRUE(row);
            const int room = row->geometry().width();
            const int lineHeight = label->fontMetrics().lineSpacing();
            if (QFontMetricsF(label->font()).horizontalAdvance(title) + 2 <= room) {
                EXPECT_LT(label->height(), 2 * lineHeight) << "wraps though one line of " << room << " has room";
            } else {
                EXPECT_LE(widestUnbreakable(title, label->font()), label->width()) << "a word is wider than the title";
            }
        }
    }
}

} // namespace
