#include "views/FeedbackCards.h"

#include "platform/Bundle.h"
#include "platform/Environment.h"
#include "platform/Locale.h"
#include "platform/UserDefaults.h"
#include "preferences/LanguageManager.h"
#include "services/SystemLanguageTexts.h"
#include "shortcuts/GlobalShortcuts.h"

#include "preferences/SystemColors.h"

namespace zentaris {

namespace {

const QColor red = SystemColors::red();
const QColor green = SystemColors::green();
const QColor orange = SystemColors::orange();
const QColor pink = SystemColors::pink();

QString localized(const std::string& key) { return QString::fromStdString(LanguageManager::shared().localizedString(key)); }

// The badge follows the session's language, like the program's system alerts.
QString escapeCaption() {
    const SystemLanguageTexts texts(platform::Bundle::main(),
                                    platform::preferredLanguages(platform::UserDefaults::standard(),
                                                                 platform::Environment::current()));
    return QString::fromStdString(texts.text("ESC", "ESC"));
}

std::optional<QString> dragModeShortcutCaption() {
    auto shortcut = GlobalShortcuts::getShortcut(GlobalShortcuts::Name("toggleDragMode"));
    if (!shortcut) return std::nullopt;
    return QString::fromStdString(shortcut->description());
}

FeedbackCardView::Style cancellationStyle() {
    FeedbackCardView::Style style;
    style.accent = red;
    style.second = pink;
    style.firstGlow = red;
    style.secondGlow = orange;
    style.ringThird = orange;
    style.symbol = "xmark.circle.fill";
    style.title = localized("drag_cancelled");
    style.hasHintRow = true;
    style.badge = escapeCaption();
    style.glowWidth = 240;
    return style;
}

FeedbackCardView::Style toggleStyle(bool isEnabled) {
    FeedbackCardView::Style style;
    style.accent = isEnabled ? green : red;
    style.second = style.accent;
    style.firstGlow = style.accent;
    style.secondGlow = style.accent;
    style.ringThird = style.accent;
    style.symbol = isEnabled ? "hand.raised.fill" : "hand.raised.slash.fill";
    style.title = localized("Drag Mode") + QStringLiteral(": ") + localized(isEnabled ? "ON" : "OFF");
    style.hasHintRow = true;
    style.badge = dragModeShortcutCaption();
    return style;
}

FeedbackCardView::Style tooManyStyle(std::int64_t required, std::int64_t actual) {
    FeedbackCardView::Style style;
    style.accent = red;
    style.second = orange;
    style.firstGlow = red;
    style.secondGlow = orange;
    style.ringThird = style.accent;
    style.symbol = "xmark.octagon.fill";
    style.title = localized("too_many_windows_title");
    style.hint = QString::fromStdString(LanguageManager::shared().localizedFormat("too_many_windows_hint", {required, actual}));
    style.glowWidth = 400;
    style.glowHeight = 110;
    style.glowEndRadius = 120;
    return style;
}

} // namespace

CancellationFeedbackView::CancellationFeedbackView(QWidget* parent) : FeedbackCardView(cancellationStyle(), parent) {}

DragModeToggleFeedbackView::DragModeToggleFeedbackView(bool isEnabled, QWidget* parent)
    : FeedbackCardView(toggleStyle(isEnabled), parent) {}

TooManyWindowsFeedbackView::TooManyWindowsFeedbackView(std::int64_t required, std::int64_t actual, QWidget* parent)
    : FeedbackCardView(tooManyStyle(required, actual), parent) {}

} // namespace zentaris
