#include "shortcuts/qt/ShortcutRecorderField.h"

#include "preferences/TextFormat.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/ModuleTexts.h"
#include "shortcuts/qt/QtKeyEvents.h"
#include "shortcuts/qt/ShortcutKeySequence.h"

#include <QAction>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

#include <utility>

namespace GlobalShortcuts {

namespace {

constexpr int firstButton = 1000;
constexpr int secondButton = 1001;
// A click this close to the control still counts as inside it.
constexpr int clickTolerance = 3;
// The window manager hands the window back within milliseconds of an alert closing; a return
// after this long is the user coming back from elsewhere.
constexpr auto returnAfterAlertLimit = std::chrono::seconds(1);

QString moduleText(const std::string& key) { return QString::fromStdString(ModuleTexts::shared().localizedString(key)); }

int showAlert(QWidget* parent, const ShortcutRecorderField::Alert& alert) {
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Warning);
    box.setText(QString::fromStdString(alert.message));
    box.setInformativeText(QString::fromStdString(alert.informativeText));
    std::vector<QAbstractButton*> buttons;
    for (const auto& title : alert.buttons) buttons.push_back(box.addButton(QString::fromStdString(title), QMessageBox::AcceptRole));
    if (buttons.empty()) buttons.push_back(box.addButton(QMessageBox::Ok));
    box.exec();
    for (std::size_t index = 0; index < buttons.size(); ++index) {
        if (box.clickedButton() == buttons[index]) return firstButton + static_cast<int>(index);
    }
    return firstButton;
}

// Draws no text caret in a recorder that records: nothing is typed there.
class RecorderStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override {
        if (metric == PM_TextCursorWidth) {
            // Some Qt versions name the field only through the option's style object.
            const QObject* asked = widget ? widget : (option ? option->styleObject : nullptr);
            const auto* field = dynamic_cast<const ShortcutRecorderField*>(asked);
            if (field && field->isRecording()) return 0;
        }
        return QProxyStyle::pixelMetric(metric, option, widget);
    }

    static RecorderStyle* shared() {
        static RecorderStyle* style = [] {
            auto* created = new RecorderStyle;
            created->setParent(QCoreApplication::instance());
            return created;
        }();
        return style;
    }
};

// A menu item's title as the user reads it: mnemonic marks removed, "&&" kept as "&".
std::string plainTitle(const QAction& item) {
    QString title = item.text();
    title.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    title.remove(QLatin1Char('&'));
    title.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return title.toStdString();
}

std::optional<std::string> applicationMenuItemTitle(const Shortcut& shortcut) {
    if (QAction* item = applicationMenuItemWithMatchingShortcut(shortcut)) return plainTitle(*item);
    return std::nullopt;
}

} // namespace

ShortcutRecorderField::ShortcutRecorderField(Name name, OnChange onChange, QWidget* parent)
    : QLineEdit(parent), shortcutName_(std::move(name)), onChange_(std::move(onChange)), presentAlert_(showAlert) {
    setStyle(RecorderStyle::shared());
    setPlaceholderText(moduleText("record_shortcut"));
    setAlignment(Qt::AlignCenter);
    setClearButtonEnabled(true);
    // Only a click starts recording; the window's own choice of a focus widget passes it by.
    setFocusPolicy(Qt::ClickFocus);
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    connect(this, &QLineEdit::textChanged, this, [this](const QString& value) { textDidChange(value); });
    refreshStringValue();
    shortcutsNameChangeObserver_ = platform::NotificationCenter::defaultCenter().addObserver(
        shortcutByNameDidChangeNotification, [this](const platform::Notification& note) {
            if (!note.userInfo) return;
            auto entry = note.userInfo->find("name");
            if (entry != note.userInfo->end() && entry->second == shortcutName_.rawValue) refreshStringValue();
        });
}

ShortcutRecorderField::~ShortcutRecorderField() {
    // Ends a recording without announcing through a half-destroyed widget.
    if (isRecording()) {
        eventMonitor_.reset();
        hotKeysDown_.cancel();
        setPaused(false);
        postActiveStatus(false);
    }
}

void ShortcutRecorderField::setShortcutName(const Name& name) {
    if (name.rawValue == shortcutName_.rawValue) return;
    shortcutName_ = name;
    refreshStringValue();
}

QSize ShortcutRecorderField::sizeHint() const { return {minimumWidth, QLineEdit::sizeHint().height()}; }

void ShortcutRecorderField::refreshStringValue() {
    const auto shortcut = getShortcut(shortcutName_);
    showText(shortcut ? QString::fromStdString(shortcut->description()) : QString());
}

void ShortcutRecorderField::showText(const QString& value) {
    // Not with signals blocked: the line edit shows and hides its clear button on textChanged.
    const bool wasShowing = std::exchange(isShowingStoredText_, true);
    setText(value);
    isShowingStoredText_ = wasShowing;
}

bool ShortcutRecorderField::startsRecordingOnFocus(Qt::FocusReason reason) const {
    // A click, the focus taken back after an alert or a clear, or the user's own shortcut to it;
    // not the focus handed back when the window comes to the front again or a popup closes.
    return reason == Qt::MouseFocusReason || reason == Qt::OtherFocusReason || reason == Qt::ShortcutFocusReason;
}

void ShortcutRecorderField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    const auto resumesUntil = std::exchange(resumesAfterAlertUntil_, std::nullopt);
    const bool resumes = resumesUntil && std::chrono::steady_clock::now() <= *resumesUntil;
    if (resumes || startsRecordingOnFocus(event->reason())) {
        startRecording();
        return;
    }
    QMetaObject::invokeMethod(this, [this] {
        if (hasFocus() && !isRecording()) clearFocus();
    }, Qt::QueuedConnection);
}

void ShortcutRecorderField::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    endRecording();
    // The window went to the back: it must not hand the focus, and recording, back on its return.
    if (event->reason() == Qt::ActiveWindowFocusReason) clearFocus();
}

void ShortcutRecorderField::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    resumesAfterAlertUntil_.reset();
    endRecording();
}

void ShortcutRecorderField::startRecording() {
    if (isRecording()) return;
    setPlaceholderText(moduleText("press_shortcut"));
    setPaused(true);
    hotKeysDown_ = Registry::shared().takeHotKeysDown();
    postActiveStatus(true);
    eventMonitor_ = std::make_unique<LocalEventMonitor>(
        std::initializer_list<QEvent::Type>{QEvent::KeyPress, QEvent::MouseButtonRelease},
        [this](QObject*, QEvent* event) { return handleRecordingEvent(event); });
    update();
}

void ShortcutRecorderField::endRecording() {
    if (!isRecording()) return;
    eventMonitor_.reset();
    setPlaceholderText(moduleText("record_shortcut"));
    hotKeysDown_.cancel();
    setPaused(false);
    postActiveStatus(false);
    update();
}

void ShortcutRecorderField::postActiveStatus(bool isActive) {
    platform::NotificationCenter::defaultCenter().post(recorderActiveStatusDidChangeNotification,
                                                       platform::UserInfo{{"isActive", isActive ? "true" : "false"}});
}

void ShortcutRecorderField::giveUpFocus() {
    clearFocus();
    endRecording();
}

void ShortcutRecorderField::takeFocusBack() { setFocus(Qt::OtherFocusReason); }

void ShortcutRecorderField::resumeAfterAlert() {
    takeFocusBack();
    // The alert's window had the keyboard: ours gets the focus back only when the window manager
    // activates it again, and that focus reads as the window's return, which starts nothing.
    // Only a return right after the alert counts: when the user went to another program instead,
    // Qt reports nothing, and the window coming back later must start nothing.
    if (hasFocus()) resumesAfterAlertUntil_.reset();
    else resumesAfterAlertUntil_ = std::chrono::steady_clock::now() + returnAfterAlertLimit;
}

void ShortcutRecorderField::refuse() {
    if (beep_) beep_();
    else QApplication::beep();
}

bool ShortcutRecorderField::handleRecordingEvent(QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint local = mapFromGlobal(mouse->globalPosition().toPoint());
        if (!rect().adjusted(-clickTolerance, -clickTolerance, clickTolerance, clickTolerance).contains(local)) {
            giveUpFocus();
            return false;
        }
        // A click on the clear button empties the field; any other click inside stays with it.
        return !(mouse->button() == Qt::LeftButton && rect().contains(local));
    }
    if (event->type() != QEvent::KeyPress) return true;
    const auto& press = *static_cast<QKeyEvent*>(event);
    // A modifier pressed on its own is the start of a combination, not a key of it.
    if (isModifierKeyPress(press)) return true;
    const auto keyEvent = shortcutKeyEvent(press);
    if (!keyEvent) {
        // A key whose position on the keyboard is unknown cannot be stored.
        refuse();
        return true;
    }

    const auto decision = decideRecordingKey(*keyEvent, Registry::shared(), applicationMenuItemTitle);
    switch (decision.outcome) {
    case RecorderKeyOutcome::endRecordingAndPass: giveUpFocus(); return false;
    case RecorderKeyOutcome::endRecording: giveUpFocus(); return true;
    case RecorderKeyOutcome::clear: clear(); return true;
    case RecorderKeyOutcome::refuse: refuse(); return true;
    case RecorderKeyOutcome::usedByMenuItem: {
        giveUpFocus();
        const auto message = zentaris::formatText(
            ModuleTexts::shared().localizedString("keyboard_shortcut_used_by_menu_item"), {decision.menuItemTitle});
        presentAlert_(this, Alert{message, "", {}});
        resumeAfterAlert();
        return true;
    }
    case RecorderKeyOutcome::usedBySystem: {
        giveUpFocus();
        const auto& texts = ModuleTexts::shared();
        const int answer = presentAlert_(this, Alert{texts.localizedString("keyboard_shortcut_used_by_system"),
                                                     texts.localizedString("keyboard_shortcuts_can_be_changed"),
                                                     {texts.localizedString("ok"), texts.localizedString("force_use_shortcut")}});
        if (answer != secondButton) {
            resumeAfterAlert();
            return true;
        }
        store(*decision.shortcut);
        return true;
    }
    case RecorderKeyOutcome::store: store(*decision.shortcut); return true;
    }
    return true;
}

void ShortcutRecorderField::store(const Shortcut& shortcut) {
    showText(QString::fromStdString(shortcut.description()));
    setShortcut(shortcut, shortcutName_);
    if (onChange_) onChange_(shortcut);
    giveUpFocus();
}

void ShortcutRecorderField::textDidChange(const QString& value) {
    if (isShowingStoredText_) return;
    if (!value.isEmpty()) {
        // Typed, pasted or dropped text: the field shows the stored shortcut and nothing else.
        refreshStringValue();
        return;
    }
    setShortcut(std::nullopt, shortcutName_);
    if (onChange_) onChange_(std::nullopt);
    takeFocusBack();
}

} // namespace GlobalShortcuts
