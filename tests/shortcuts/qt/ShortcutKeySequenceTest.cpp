#include "QtShortcutTestSupport.h"
#include "shortcuts/qt/ShortcutKeySequence.h"

#include <QAction>
#include <QMenu>

using namespace GlobalShortcuts;

namespace {

struct ShortcutKeySequenceTest : zentaris::testing::QtShortcutScene {};

constexpr std::int64_t command = CarbonModifier::command;
constexpr std::int64_t option = CarbonModifier::option;
constexpr std::int64_t control = CarbonModifier::control;
constexpr std::int64_t shift = CarbonModifier::shift;

} // namespace

TEST_F(ShortcutKeySequenceTest, CommandIsMetaOptionIsAltAndKeysTakeTheirQtNames) {
    const struct {
        Shortcut shortcut;
        std::optional<QKeySequence> expected;
    } cases[] = {
        {{Key::leftArrow.rawValue, option | command}, QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_Left)},
        {{Key::d.rawValue, shift | command}, QKeySequence(Qt::MetaModifier | Qt::ShiftModifier | Qt::Key_D)},
        {{Key::k.rawValue, control}, QKeySequence(Qt::ControlModifier | Qt::Key_K)},
        {{Key::comma.rawValue, control | option}, QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_Comma)},
        {{Key::one.rawValue, option | command}, QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_1)},
        {{Key::f5.rawValue, 0}, QKeySequence(Qt::Key_F5)},
        {{Key::f20.rawValue, shift}, QKeySequence(Qt::ShiftModifier | Qt::Key_F20)},
        {{Key::space.rawValue, control}, QKeySequence(Qt::ControlModifier | Qt::Key_Space)},
        {{Key::delete_.rawValue, command}, QKeySequence(Qt::MetaModifier | Qt::Key_Backspace)},
        {{Key::deleteForward.rawValue, command}, QKeySequence(Qt::MetaModifier | Qt::Key_Delete)},
        {{Key::return_.rawValue, control}, QKeySequence(Qt::ControlModifier | Qt::Key_Return)},
        {{Key::pageDown.rawValue, control}, QKeySequence(Qt::ControlModifier | Qt::Key_PageDown)},
        {{Key::keypad5.rawValue, control}, std::nullopt},
        {{Key::keypadEnter.rawValue, 0}, std::nullopt},
        {{Key::k.rawValue, control | CarbonModifier::function}, std::nullopt},
        {{10, control}, std::nullopt}, // the US layout types nothing at the section key
    };
    for (const auto& c : cases) {
        EXPECT_EQ(keySequence(c.shortcut), c.expected) << c.shortcut.description();
    }
}

TEST_F(ShortcutKeySequenceTest, TheMenuLookupSearchesSubmenusDepthFirstAndTakesTheFirstMatch) {
    const Shortcut metaAltO{Key::o.rawValue, option | command};
    QMenu menu;
    QAction* plain = menu.addAction(QStringLiteral("Open"));
    plain->setShortcut(QKeySequence(Qt::MetaModifier | Qt::Key_O));
    QMenu* recent = menu.addMenu(QStringLiteral("Recent"));
    QAction* nested = recent->addAction(QStringLiteral("Open Recent"));
    nested->setShortcuts({QKeySequence(Qt::Key_F9), QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_O)});
    QAction* later = menu.addAction(QStringLiteral("Open Again"));
    later->setShortcut(QKeySequence(Qt::MetaModifier | Qt::AltModifier | Qt::Key_O));

    EXPECT_EQ(menuItemWithMatchingShortcut(metaAltO, menu), nested);
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut{Key::o.rawValue, command}, menu), plain);
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut{Key::o.rawValue, command | shift}, menu), nullptr);
    EXPECT_EQ(menuItemWithMatchingShortcut(Shortcut{Key::keypad5.rawValue, command}, menu), nullptr);
    EXPECT_EQ(applicationMenuItemWithMatchingShortcut(metaAltO), nested) << "the menu is a window of its own";
    EXPECT_EQ(menuItemWithMatchingShortcut(metaAltO, QMenu()), nullptr);
}
