#pragma once

#include "platform/Desktop.h"
#include "platform/HostInformation.h"
#include "platform/MainQueue.h"
#include "platform/Workspace.h"
#include "services/EmailService.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <string>

class QCheckBox;
class QLineEdit;
class QMessageBox;
class QPlainTextEdit;
class QPushButton;

namespace zentaris {

class PlainButton;

// The contact form: the kind of request, subject, the user's address and message, and whether
// system information and settings go along. Sending hands a prepared mailto: link to the user's
// mail program; nothing is delivered by the program itself.
class SupportSettingsView : public QWidget {
public:
    enum class ContactType { general, bugReport, featureRequest, other };
    static constexpr std::array<ContactType, 4> allContactTypes{ContactType::general, ContactType::bugReport,
                                                                ContactType::featureRequest, ContactType::other};
    // The label key, also the raw value.
    static std::string rawValue(ContactType type);
    // The fixed English title that goes into the mail subject.
    static std::string englishTitle(ContactType type);
    // What the subject field is set to when the kind is chosen.
    static std::string subjectPrefix(ContactType type);

    static constexpr double sendDelay = 0.5;

    struct Dependencies {
        platform::Workspace& workspace;
        platform::MainQueue& mainQueue;
        EmailService::SystemSources system;
        std::string supportEmail;
    };
    // Over a desktop's workspace, queue, screens, accessibility and defaults, the main bundle and
    // the configured support address.
    static Dependencies standardDependencies(const platform::Desktop& desktop, const platform::HostInformation& host);

    explicit SupportSettingsView(Dependencies dependencies, QWidget* parent = nullptr);
    ~SupportSettingsView() override;

    void selectContactType(ContactType type);
    bool canSend() const;
    void submit();
    void sendSupportMessage();
    void clearForm();

    ContactType selectedContactType() const { return selectedContactType_; }
    bool isSubmitting() const { return isSubmitting_; }
    bool includeSystemInfo() const;
    bool includeAppSettings() const;
    QLineEdit* subjectField() const { return subjectField_; }
    QLineEdit* emailField() const { return emailField_; }
    QPlainTextEdit* messageEditor() const { return messageEditor_; }
    QCheckBox* systemInfoSwitch() const { return systemInfoSwitch_; }
    QCheckBox* appSettingsSwitch() const { return appSettingsSwitch_; }
    QPushButton* sendButton() const { return sendButton_; }
    QPushButton* clearButton() const { return clearButton_; }
    PlainButton* contactTypeButton(ContactType type) const;
    // The alert currently shown, if any.
    QMessageBox* alert() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildFormCard();
    void relabel();
    void refreshControls();
    void showAlert(const std::string& titleKey, const QString& message);

    Dependencies dependencies_;
    ContactType selectedContactType_ = ContactType::general;
    bool isSubmitting_ = false;
    platform::ScheduledTask pendingSend_;

    std::array<PlainButton*, 4> contactTypeButtons_{};
    QLineEdit* subjectField_ = nullptr;
    QLineEdit* emailField_ = nullptr;
    QPlainTextEdit* messageEditor_ = nullptr;
    QCheckBox* systemInfoSwitch_ = nullptr;
    QCheckBox* appSettingsSwitch_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QPushButton* sendButton_ = nullptr;
    // Cleared by Qt when the alert closes itself, also while the page's children are being destroyed,
    // when no slot of this page may run any more.
    QPointer<QMessageBox> alert_;
};

} // namespace zentaris
