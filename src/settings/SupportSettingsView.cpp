#include "settings/SupportSettingsView.h"

#include "platform/Bundle.h"
#include "platform/ProgramArgument.h"
#include "preferences/AppStyle.h"
#include "preferences/LanguageManager.h"
#include "services/BuildConfiguration.h"
#include "services/WebAddress.h"
#include "settings/DeferredRefresh.h"
#include "settings/PlainButton.h"
#include "settings/SettingsWidgets.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>

namespace zentaris {

namespace {

std::string L(const std::string& key) { return LanguageManager::shared().localizedString(key); }
QString QL(const std::string& key) { return QString::fromStdString(L(key)); }

std::string trimmed(const QString& text) { return text.trimmed().toStdString(); }

struct ContactTypeLook {
    const char* symbol;
    QColor color;
};

ContactTypeLook look(SupportSettingsView::ContactType type) {
    using Type = SupportSettingsView::ContactType;
    switch (type) {
    case Type::general: return {"questionmark.circle.fill", SystemColors::blue()};
    case Type::bugReport: return {"ladybug.fill", SystemColors::red()};
    case Type::featureRequest: return {"lightbulb.fill", SystemColors::green()};
    case Type::other: return {"ellipsis.circle.fill", SystemColors::purple()};
    }
    return {"questionmark.circle.fill", SystemColors::blue()};
}

QString fieldStyle(const char* type) {
    const QColor border = withOpacity(SystemColors::secondaryText(), 0.3);
    return QStringLiteral("%1 { padding: 8px; background: palette(base); border: 1px solid rgba(%2, %3, %4, %5); "
                          "border-radius: 6px; }")
        .arg(QLatin1String(type))
        .arg(border.red())
        .arg(border.green())
        .arg(border.blue())
        .arg(border.alphaF());
}

QWidget* fieldGroup(const std::string& titleKey, QWidget* field) {
    auto* group = new QWidget;
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    column->addWidget(new LocalizedText(titleKey, withWeight(AppStyle::calloutFont(), QFont::Medium)));
    column->addWidget(field);
    return group;
}

} // namespace

std::string SupportSettingsView::rawValue(ContactType type) {
    switch (type) {
    case ContactType::general: return "general_question";
    case ContactType::bugReport: return "bug_report";
    case ContactType::featureRequest: return "feature_request";
    case ContactType::other: return "other";
    }
    return "general_question";
}

std::string SupportSettingsView::englishTitle(ContactType type) {
    switch (type) {
    case ContactType::general: return "General Question";
    case ContactType::bugReport: return "Bug Report";
    case ContactType::featureRequest: return "Feature Request";
    case ContactType::other: return "Other";
    }
    return "General Question";
}

std::string SupportSettingsView::subjectPrefix(ContactType type) { return "[" + englishTitle(type) + "]: "; }

SupportSettingsView::Dependencies SupportSettingsView::standardDependencies(const platform::Desktop& desktop,
                                                                          const platform::HostInformation& host) {
    return {desktop.workspace,
            desktop.mainQueue,
            {host, platform::Bundle::main(), desktop.screens, desktop.accessibility, desktop.defaults},
            configuredSupportEmail()};
}

SupportSettingsView::SupportSettingsView(Dependencies dependencies, QWidget* parent)
    : QWidget(parent), dependencies_(std::move(dependencies)) {
    auto* column = makePageColumn(this);
    column->addLayout(pageHeader("support_title", "support_description"));
    column->addWidget(buildFormCard());
    column->addStretch(1);

    refreshOnLanguageChange(this, [this] { relabel(); });
    relabel();
    refreshControls();
}

SupportSettingsView::~SupportSettingsView() = default;

QWidget* SupportSettingsView::buildFormCard() {
    auto* card = makeCard();
    auto* column = new QVBoxLayout(card);
    column->setContentsMargins(16, 16, 16, 16);
    column->setSpacing(24);
    column->addWidget(sectionHeader("envelope.fill", SystemColors::blue(), "contact_form"));

    auto* kinds = new QVBoxLayout;
    kinds->setSpacing(12);
    kinds->addWidget(new LocalizedText("contact_type", withWeight(AppStyle::bodyFont(), QFont::Medium)));
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(12);
    for (std::size_t index = 0; index < allContactTypes.size(); ++index) {
        const ContactType type = allContactTypes[index];
        auto* button = new PlainButton;
        auto* row = new QHBoxLayout(button);
        row->setContentsMargins(12, 12, 12, 12);
        row->setSpacing(12);
        auto* symbol = symbolView(look(type).symbol, 16, SystemColors::secondaryText(), 20);
        symbol->setObjectName(QStringLiteral("kindSymbol"));
        row->addWidget(symbol);
        row->addWidget(new LocalizedText(rawValue(type), AppStyle::calloutFont()));
        row->addStretch(1);
        auto* check = symbolView("checkmark.circle.fill", 16, look(type).color);
        check->setObjectName(QStringLiteral("checkmark"));
        row->addWidget(check);
        button->setBackgroundPainter([this, type](QPainter& painter, const QRectF& bounds, bool) {
            const bool selected = type == selectedContactType_;
            const QColor color = look(type).color;
            const QRectF shape = bounds.adjusted(0.5, 0.5, -0.5, -0.5);
            painter.setBrush(selected ? withOpacity(color, 0.1) : QColor(Qt::transparent));
            painter.setPen(QPen(selected ? color : withOpacity(SystemColors::secondaryText(), 0.3), 1));
            painter.drawRoundedRect(shape, 6, 6);
        });
        connect(button, &QAbstractButton::clicked, this, [this, type] { selectContactType(type); });
        grid->addWidget(button, static_cast<int>(index / 2), static_cast<int>(index % 2));
        contactTypeButtons_[index] = button;
    }
    kinds->addLayout(grid);
    column->addLayout(kinds);

    auto* fields = new QVBoxLayout;
    fields->setSpacing(16);
    subjectField_ = new QLineEdit;
    emailField_ = new QLineEdit;
    for (auto* field : {subjectField_, emailField_}) {
        field->setFont(AppStyle::bodyFont());
        field->setStyleSheet(fieldStyle("QLineEdit"));
        connect(field, &QLineEdit::textChanged, this, [this] { refreshControls(); });
    }
    fields->addWidget(fieldGroup("subject", subjectField_));
    fields->addWidget(fieldGroup("email", emailField_));

    messageEditor_ = new QPlainTextEdit;
    messageEditor_->setFont(AppStyle::bodyFont());
    messageEditor_->setMinimumHeight(120);
    messageEditor_->setStyleSheet(fieldStyle("QPlainTextEdit"));
    messageEditor_->setTabChangesFocus(true);
    connect(messageEditor_, &QPlainTextEdit::textChanged, this, [this] { refreshControls(); });
    fields->addWidget(fieldGroup("message", messageEditor_));

    auto* options = new QVBoxLayout;
    options->setSpacing(8);
    systemInfoSwitch_ = new QCheckBox;
    appSettingsSwitch_ = new QCheckBox;
    for (auto* option : {systemInfoSwitch_, appSettingsSwitch_}) {
        option->setFont(AppStyle::calloutFont());
        options->addWidget(option);
    }
    systemInfoSwitch_->setChecked(true);
    fields->addLayout(options);

    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    clearButton_ = new QPushButton;
    sendButton_ = new QPushButton;
    sendButton_->setDefault(true);
    applyBorderedStyle(clearButton_);
    applyProminentStyle(sendButton_);
    connect(clearButton_, &QPushButton::clicked, this, [this] { clearForm(); });
    connect(sendButton_, &QPushButton::clicked, this, [this] { submit(); });
    buttons->addWidget(clearButton_);
    buttons->addWidget(sendButton_);
    fields->addLayout(buttons);
    column->addLayout(fields);
    return card;
}

void SupportSettingsView::relabel() {
    subjectField_->setPlaceholderText(QL("subject_placeholder"));
    emailField_->setPlaceholderText(QL("email_placeholder"));
    messageEditor_->setPlaceholderText(QL("message_placeholder"));
    systemInfoSwitch_->setText(QL("include_system_info"));
    appSettingsSwitch_->setText(QL("include_app_settings"));
    clearButton_->setText(QL("clear_form"));
    sendButton_->setText(QL(isSubmitting_ ? "sending" : "send_message"));
}

void SupportSettingsView::refreshControls() {
    sendButton_->setText(QL(isSubmitting_ ? "sending" : "send_message"));
    sendButton_->setEnabled(canSend() && !isSubmitting_);
    for (std::size_t index = 0; index < allContactTypes.size(); ++index) {
        const ContactType type = allContactTypes[index];
        const bool selected = type == selectedContactType_;
        auto* button = contactTypeButtons_[index];
        if (auto* symbol = button->findChild<QLabel*>(QStringLiteral("kindSymbol"))) {
            setSymbol(symbol, look(type).symbol, 16, selected ? look(type).color : SystemColors::secondaryText());
        }
        if (auto* check = button->findChild<QLabel*>(QStringLiteral("checkmark"))) check->setVisible(selected);
        button->update();
    }
}

void SupportSettingsView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous() && subjectField_->text().isEmpty()) {
        subjectField_->setText(QString::fromStdString(subjectPrefix(ContactType::general)));
    }
}

void SupportSettingsView::selectContactType(ContactType type) {
    selectedContactType_ = type;
    subjectField_->setText(QString::fromStdString(subjectPrefix(type)));
    refreshControls();
}

bool SupportSettingsView::canSend() const {
    if (trimmed(subjectField_->text()).empty() || trimmed(messageEditor_->toPlainText()).empty()) return false;
    const std::string email = trimmed(emailField_->text());
    return email.empty() || isPlausibleEmailAddress(email);
}

void SupportSettingsView::submit() {
    // The button is disabled in both cases; a call from elsewhere must not send twice or send nothing.
    if (isSubmitting_ || !canSend()) return;
    isSubmitting_ = true;
    refreshControls();
    pendingSend_ = dependencies_.mainQueue.postAfter(sendDelay, [this] { sendSupportMessage(); });
}

void SupportSettingsView::sendSupportMessage() {
    const EmailService service(dependencies_.supportEmail, LanguageManager::shared(), dependencies_.system);
    const std::string mailSubject = "[Zentaris]" + englishTitle(selectedContactType_);
    const std::string body = service.composeBody(trimmed(subjectField_->text()), trimmed(emailField_->text()),
                                                 trimmed(messageEditor_->toPlainText()), includeSystemInfo(),
                                                 includeAppSettings());
    const auto url = EmailService::mailtoURL(service.supportEmail(), mailSubject, body);
    // A mail program gets the link as one argument of its command line; a longer one never
    // reaches it, whichever program is set up.
    const bool tooLong = url && !platform::fitsOneProgramArgument(*url);
    const bool opened = url && !tooLong && dependencies_.workspace.openURL(*url);
    isSubmitting_ = false;
    refreshControls();
    if (opened) {
        showAlert("message_sent_title", QL("message_sent_description"));
        clearForm();
        return;
    }
    showAlert("error_title", QL(tooLong ? "email_too_long_message" : "email_error_message"));
}

void SupportSettingsView::clearForm() {
    subjectField_->clear();
    emailField_->clear();
    messageEditor_->clear();
    selectedContactType_ = ContactType::general;
    systemInfoSwitch_->setChecked(true);
    appSettingsSwitch_->setChecked(false);
    refreshControls();
}

bool SupportSettingsView::includeSystemInfo() const { return systemInfoSwitch_->isChecked(); }
bool SupportSettingsView::includeAppSettings() const { return appSettingsSwitch_->isChecked(); }

PlainButton* SupportSettingsView::contactTypeButton(ContactType type) const {
    for (std::size_t index = 0; index < allContactTypes.size(); ++index) {
        if (allContactTypes[index] == type) return contactTypeButtons_[index];
    }
    return nullptr;
}

QMessageBox* SupportSettingsView::alert() const { return alert_.data(); }

void SupportSettingsView::showAlert(const std::string& titleKey, const QString& message) {
    if (alert_) alert_->close();
    alert_ = new QMessageBox(this);
    alert_->setAttribute(Qt::WA_DeleteOnClose);
    alert_->setTextFormat(Qt::PlainText);
    alert_->setIcon(titleKey == "error_title" ? QMessageBox::Warning : QMessageBox::Information);
    alert_->setWindowTitle(QL(titleKey));
    alert_->setText(QL(titleKey));
    alert_->setInformativeText(message);
    alert_->addButton(QL("ok"), QMessageBox::AcceptRole);
    alert_->open();
}

} // namespace zentaris
