#include "settings/LocalizedShortcutRecorder.h"

#include "app/AppDelegate.h"
#include "preferences/AppStyle.h"
#include "preferences/LanguageManager.h"
#include "settings/DeferredRefresh.h"
#include "settings/PlainButton.h"
#include "settings/SettingsWidgets.h"
#include "shortcuts/GlobalShortcuts.h"
#include "shortcuts/qt/QtKeyEvents.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace zentaris {

namespace {

constexpr std::int64_t escapeKeyCode = 53;
constexpr double warningSeconds = 3.0;
constexpr const char* recordingShortcutKey = "shortcutName";

std::string localized(const std::string& key) { return LanguageManager::shared().localizedString(key); }
QString qLocalized(const std::string& key) { return QString::fromStdString(localized(key)); }

QFont bodyFont() { return AppStyle::bodyFont(); }

QFont shortcutFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFont& body = AppStyle::bodyFont();
    if (body.pixelSize() > 0) font.setPixelSize(body.pixelSize());
    else font.setPointSizeF(body.pointSizeF());
    font.setWeight(QFont::Medium);
    return font;
}

void paintBezel(QPainter& painter, const QRectF& bounds, bool hovered, bool enabled) {
    const QRectF frame = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath path;
    path.addRoundedRect(frame, 6, 6);
    QColor fill = SystemColors::controlBackground();
    if (hovered && enabled) fill = fill.darker(104);
    painter.fillPath(path, fill);
    painter.setPen(QPen(withOpacity(SystemColors::primaryText(), enabled ? 0.22 : 0.12), 1));
    painter.drawPath(path);
}

} // namespace

LocalizedShortcutRecorder::LocalizedShortcutRecorder(std::string labelKey, GlobalShortcuts::Name shortcutName,
                                                     QWidget* parent)
    : QWidget(parent), labelKey_(std::move(labelKey)), shortcutName_(std::move(shortcutName)) {
    buildInterface();
    if (auto* app = AppDelegate::shared()) {
        // Every recorder follows the slot: it is disabled while another one records, and it lets go
        // of the keyboard once the slot is no longer its own, however that came about.
        slotObservers_.push_back(app->currentRecordingShortcut().subscribe(
            [this](const std::optional<GlobalShortcuts::Name>& holder) {
                if (isRecording_ && !(holder && holder->rawValue == shortcutName_.rawValue)) endLocalRecording();
                refresh();
            },
            false));
    }
    refreshOnLanguageChange(this, [this] { refresh(); });
    currentShortcut_ = GlobalShortcuts::getShortcut(shortcutName_);
    refresh();
}

LocalizedShortcutRecorder::~LocalizedShortcutRecorder() {
    slotObservers_.clear();
    // A recorder that goes away must not keep the keyboard or the slot.
    if (isRecording_ && isRecordingThisShortcut()) {
        if (auto* app = AppDelegate::shared()) app->stopRecordingShortcut(shortcutName_);
    }
}

void LocalizedShortcutRecorder::buildInterface() {
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    auto* column = new QVBoxLayout;
    column->setSpacing(4);
    column->setAlignment(Qt::AlignCenter);
    button_ = new PlainButton(this);
    button_->setFocusPolicy(Qt::NoFocus);
    button_->setBackgroundPainter([this](QPainter& painter, const QRectF& bounds, bool hovered) {
        paintBezel(painter, bounds, hovered, button_->isEnabled());
    });
    auto* label = new QHBoxLayout(button_);
    label->setContentsMargins(12, 6, 12, 6);
    label->setSpacing(6);
    label->setAlignment(Qt::AlignCenter);
    symbol_ = new QLabel(button_);
    symbol_->setFixedSize(13, 13);
    text_ = new QLabel(button_);
    text_->setTextFormat(Qt::PlainText);
    label->addWidget(symbol_);
    label->addWidget(text_);
    button_->setMinimumSize(120 + 24, 28 + 12);
    connect(button_, &QAbstractButton::clicked, this, [this] { toggleRecording(); });
    column->addWidget(button_);
    row->addLayout(column);

    warningChip_ = new QWidget(this);
    warningChip_->setObjectName(QStringLiteral("safetyWarningChip"));
    warningChip_->setAttribute(Qt::WA_StyledBackground, true);
    warningChip_->setStyleSheet(QStringLiteral("QWidget#safetyWarningChip { background-color: rgba(255, 149, 0, 26); "
                                               "border-radius: 6px; }"));
    auto* chip = new QHBoxLayout(warningChip_);
    chip->setContentsMargins(8, 4, 8, 4);
    chip->setSpacing(4);
    chip->addWidget(symbolView("info.circle", 12, SystemColors::orange()), 0, Qt::AlignVCenter);
    warningText_ = new QLabel(warningChip_);
    warningText_->setTextFormat(Qt::PlainText);
    warningText_->setWordWrap(true);
    warningText_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    warningText_->setFont(AppStyle::captionFont());
    warningText_->setMaximumWidth(220);
    setTextColor(warningText_, SystemColors::orange());
    chip->addWidget(warningText_);
    warningChip_->hide();
    row->addWidget(warningChip_);
}

bool LocalizedShortcutRecorder::isRecordingThisShortcut() const {
    auto* app = AppDelegate::shared();
    if (!app) return false;
    const auto& holder = app->currentRecordingShortcut().value();
    return holder && holder->rawValue == shortcutName_.rawValue;
}

bool LocalizedShortcutRecorder::anotherShortcutRecords() const {
    auto* app = AppDelegate::shared();
    return app && app->currentRecordingShortcut().value() && !isRecordingThisShortcut();
}

bool LocalizedShortcutRecorder::event(QEvent* event) {
    // Both reach every visible widget of the window.
    if (event->type() == QEvent::WindowActivate) followWindowActivity(true);
    if (event->type() == QEvent::WindowDeactivate) followWindowActivity(false);
    return QWidget::event(event);
}

void LocalizedShortcutRecorder::followWindowActivity(bool windowIsActive) {
    if (isRecording_ && windowIsActive) {
        if (!hotKeysDown_.isActive()) hotKeysDown_ = GlobalShortcuts::Registry::shared().takeHotKeysDown();
    } else {
        hotKeysDown_.cancel();
    }
}

void LocalizedShortcutRecorder::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    onAppear();
}

void LocalizedShortcutRecorder::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    onDisappear();
}

void LocalizedShortcutRecorder::onAppear() {
    currentShortcut_ = GlobalShortcuts::getShortcut(shortcutName_);
    auto& center = platform::NotificationCenter::defaultCenter();
    cancellationObserver_ = center.addObserver(AppDelegate::cancelShortcutRecordingNotification,
                                               [this](const platform::Notification& note) { handleCancelNotification(note); });
    resetObserver_ = center.addObserver(AppDelegate::shortcutsDidResetNotification,
                                        [this](const platform::Notification&) { reloadCurrentShortcut(); });
    refresh();
}

void LocalizedShortcutRecorder::onDisappear() {
    // Hidden with its window or card: a recording left running would keep swallowing every key
    // press of the program and keep the arrow shortcuts off.
    if (isRecording_) cancelRecording();
    cancellationObserver_ = {};
    resetObserver_ = {};
}

void LocalizedShortcutRecorder::toggleRecording() {
    if (isRecording_ && isRecordingThisShortcut()) {
        stopRecording();
        return;
    }
    auto* app = AppDelegate::shared();
    if (!app || app->currentRecordingShortcut().value()) return;
    if (!app->startRecordingShortcut(shortcutName_)) return;
    isRecording_ = true;
    followWindowActivity(isActiveWindow());
    // Local to the program: keys pressed in other programs, Escape included, never get here.
    eventMonitor_ = std::make_unique<GlobalShortcuts::LocalEventMonitor>(
        std::initializer_list<QEvent::Type>{QEvent::KeyPress}, [this](QObject*, QEvent* event) {
            const auto keyEvent = GlobalShortcuts::shortcutKeyEvent(*static_cast<QKeyEvent*>(event));
            if (keyEvent) handleRecordingKeyDown(*keyEvent);
            return true;
        });
    refresh();
}

void LocalizedShortcutRecorder::handleRecordingKeyDown(const GlobalShortcuts::KeyEvent& event) {
    if (event.keyCode == escapeKeyCode) {
        cancelRecording();
        return;
    }
    // The device-dependent low bits go; the shortcut keeps its five modifiers.
    const GlobalShortcuts::ModifierFlags flags{event.modifierFlags.rawValue & ~std::uint64_t{0xFFFF}};
    const auto candidate = GlobalShortcuts::Shortcut{event.keyCode, flags.carbon()};
    const auto validation = validateShortcut(candidate.carbonKeyCode, candidate.modifiers());
    if (!validation.isValid) {
        reportInvalidShortcut(validation.message);
        return;
    }
    if (currentShortcut_ && *currentShortcut_ == candidate) {
        stopRecording();
        return;
    }
    GlobalShortcuts::setShortcut(candidate, shortcutName_);
    currentShortcut_ = candidate;
    platform::NotificationCenter::defaultCenter().post(AppDelegate::shortcutsDidResetNotification);
    stopRecording();
}

void LocalizedShortcutRecorder::stopRecording() {
    if (!isRecordingThisShortcut()) return;
    endLocalRecording();
    if (auto* app = AppDelegate::shared()) app->stopRecordingShortcut(shortcutName_);
    refresh();
}

void LocalizedShortcutRecorder::cancelRecording() {
    if (!isRecording_) return;
    // A slot emptied by someone else before the cancel was announced still counts as this
    // recorder's own recording.
    if (!isRecordingThisShortcut() && anotherShortcutRecords()) return;
    endLocalRecording();
    if (auto* app = AppDelegate::shared(); app && isRecordingThisShortcut()) {
        app->currentRecordingShortcut().set(std::nullopt);
        app->isInShortcutEditMode().set(false);
    }
    refresh();
}

void LocalizedShortcutRecorder::endLocalRecording() {
    isRecording_ = false;
    showingSafetyWarning_ = false;
    eventMonitor_.reset();
    hotKeysDown_.cancel();
}

void LocalizedShortcutRecorder::handleCancelNotification(const platform::Notification& notification) {
    if (notification.userInfo) {
        const auto entry = notification.userInfo->find(recordingShortcutKey);
        if (entry == notification.userInfo->end() || entry->second != shortcutName_.rawValue) return;
    }
    if (isRecording_) cancelRecording();
}

void LocalizedShortcutRecorder::reloadCurrentShortcut() {
    currentShortcut_ = GlobalShortcuts::getShortcut(shortcutName_);
    refresh();
}

void LocalizedShortcutRecorder::reportInvalidShortcut(std::string message) {
    pendingWarnings_.push_back(platform::MainQueue::main().post(
        [this, message = std::move(message)] { showSafetyWarning(message); }));
}

void LocalizedShortcutRecorder::showSafetyWarning(std::string message) {
    safetyWarningMessage_ = std::move(message);
    showingSafetyWarning_ = true;
    // Earlier hides stay scheduled: a warning shown again soon goes with the first one's time.
    pendingWarnings_.push_back(platform::MainQueue::main().postAfter(warningSeconds, [this] {
        showingSafetyWarning_ = false;
        refresh();
    }));
    refresh();
}

QString LocalizedShortcutRecorder::shownText() const { return text_->text(); }

void LocalizedShortcutRecorder::refresh() {
    const bool recordingHere = isRecording_ && isRecordingThisShortcut();
    const bool otherRecords = anotherShortcutRecords();
    const QColor primary = SystemColors::primaryText();
    const QColor secondary = SystemColors::secondaryText();

    std::string symbol;
    QColor symbolColor;
    QString text;
    QColor textColor;
    QFont font = bodyFont();
    if (recordingHere && !showingSafetyWarning_) {
        symbol = "record.circle", symbolColor = SystemColors::red();
        text = qLocalized("press_shortcut"), textColor = SystemColors::blue();
    } else if (recordingHere) {
        symbol = "exclamationmark.triangle", symbolColor = SystemColors::orange();
        text = qLocalized("unsafe_shortcut"), textColor = SystemColors::orange();
    } else if (currentShortcut_) {
        symbol = "keyboard", symbolColor = otherRecords ? withOpacity(secondary, 0.5) : secondary;
        text = QString::fromStdString(shortcutDisplayString(*currentShortcut_));
        textColor = otherRecords ? withOpacity(primary, 0.5) : primary;
        font = shortcutFont();
    } else if (!otherRecords) {
        symbol = "plus.circle.dashed", symbolColor = secondary;
        text = qLocalized("record_shortcut"), textColor = secondary;
    } else {
        symbol = "lock.circle", symbolColor = withOpacity(secondary, 0.5);
        text = qLocalized("recording_in_progress"), textColor = withOpacity(secondary, 0.5);
    }
    shownSymbol_ = symbol;
    setSymbol(symbol_, symbol, 13, symbolColor);
    text_->setText(text);
    text_->setFont(font);
    setTextColor(text_, textColor);
    button_->setEnabled(!otherRecords);

    if (recordingHere) {
        button_->setAccessibleName(qLocalized("Recording keyboard shortcut"));
        button_->setAccessibleDescription(qLocalized(
            "Press any key combination to set shortcut, press current shortcut to confirm, or press Escape to cancel"));
    } else {
        if (currentShortcut_) {
            button_->setAccessibleName(qLocalized("Edit keyboard shortcut: " + shortcutDisplayString(*currentShortcut_)));
        } else {
            button_->setAccessibleName(qLocalized(otherRecords ? "Recording in progress for another shortcut"
                                                                : "Record keyboard shortcut"));
        }
        button_->setAccessibleDescription(qLocalized(otherRecords ? "Another shortcut is being recorded"
                                                                   : "Click to start recording a new keyboard shortcut"));
    }

    warningText_->setText(QString::fromStdString(safetyWarningMessage_));
    // Short reasons stay on one line; long ones wrap at the chip's width.
    warningText_->setMinimumWidth(std::min(warningText_->maximumWidth(),
                                           warningText_->fontMetrics().horizontalAdvance(warningText_->text()) + 2));
    warningChip_->setVisible(showingSafetyWarning_ && recordingHere);
}

} // namespace zentaris
