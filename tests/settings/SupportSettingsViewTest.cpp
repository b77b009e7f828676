#include "SettingsPageTestSupport.h"
#include "settings/PlainButton.h"
#include "platform/ProgramArgument.h"
#include "settings/SupportSettingsView.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

namespace zentaris::testing {
namespace {

using ContactType = SupportSettingsView::ContactType;

struct SupportSettingsViewTest : SettingsPageFixture {
    SupportSettingsView page{supportDependencies()};

    SupportSettingsViewTest() { page.show(); }

    void fill(const QString& subject, const QString& email, const QString& message) {
        page.subjectField()->setText(subject);
        page.emailField()->setText(email);
        page.messageEditor()->setPlainText(message);
    }
    QUrlQuery sentQuery() const {
        return QUrlQuery(QUrl(QString::fromStdString(workspace.openedURLs().back())).query(QUrl::FullyEncoded));
    }
    QString sentField(const char* name) const {
        return sentQuery().queryItemValue(QString::fromLatin1(name), QUrl::FullyDecoded);
    }
    // Fills the form with `message`, sets the two options by clicking them as a user would, and sends.
    void send(const QString& message, bool systemInfo, bool appSettings) {
        fill("Subject", "", message);
        for (auto [option, wanted] : {std::pair{page.systemInfoSwitch(), systemInfo}, {page.appSettingsSwitch(), appSettings}}) {
            if (option->isChecked() != wanted) QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(4, option->height() / 2));
            ASSERT_EQ(option->isChecked(), wanted);
        }
        QTest::mouseClick(page.sendButton(), Qt::LeftButton);
        queue.advance(SupportSettingsView::sendDelay);
    }
};

TEST_F(SupportSettingsViewTest, FirstShowingPrefillsTheSubjectSoAMessageAloneCanBeSent) {
    EXPECT_EQ(page.subjectField()->text(), "[General Question]: ");
    EXPECT_TRUE(page.includeSystemInfo());
    EXPECT_FALSE(page.includeAppSettings());
    EXPECT_FALSE(page.sendButton()->isEnabled());
    page.messageEditor()->setPlainText("Hello");
    EXPECT_TRUE(page.sendButton()->isEnabled());
}

TEST_F(SupportSettingsViewTest, ChoosingAKindReplacesTheSubject) {
    page.subjectField()->setText("My own words");
    QTest::mouseClick(page.contactTypeButton(ContactType::bugReport), Qt::LeftButton);
    EXPECT_EQ(page.selectedContactType(), ContactType::bugReport);
    EXPECT_EQ(page.subjectField()->text(), "[Bug Report]: ");
}

TEST_F(SupportSettingsViewTest, SendConditionTrimsAndChecksTheAddress) {
    struct Case {
        const char* subject;
        const char* email;
        const char* message;
        bool canSend;
    };
    const Case cases[] = {
        {"Hi", "", "Text", true},
        {" \n ", "", "Text", false},
        {"Hi", "", "\n\t  ", false},
        {"Hi", "  me@example.org \n", "Text", true},
        {"Hi", "first.last+tag@mail.example.co", "Text", true},
        {"Hi", "me@example.c", "Text", false},
        {"Hi", "me@localhost", "Text", false},
        {"Hi", "me@@example.org", "Text", false},
        {"Hi", "me@example.org extra", "Text", false},
        {"Hi", "mé@example.org", "Text", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.subject) + "|" + c.email + "|" + c.message);
        fill(QString::fromUtf8(c.subject), QString::fromUtf8(c.email), QString::fromUtf8(c.message));
        EXPECT_EQ(page.canSend(), c.canSend);
        EXPECT_EQ(page.sendButton()->isEnabled(), c.canSend);
    }

    // A paste as long as the field takes is checked on every change and refused, never matched.
    fill("Hi", QString(32000, QLatin1Char('a')) + "@example.org", "Text");
    EXPECT_FALSE(page.sendButton()->isEnabled());
    page.emailField()->insert("x");
    EXPECT_FALSE(page.canSend());
}

TEST_F(SupportSettingsViewTest, SendingHandsTheMailLinkOnHalfASecondLaterAndClearsTheForm) {
    QTest::mouseClick(page.contactTypeButton(ContactType::other), Qt::LeftButton);
    fill("[Other]: crash on start ", " me@example.org ", "  It crashed.  ");
    page.appSettingsSwitch()->setChecked(true);
    QTest::mouseClick(page.sendButton(), Qt::LeftButton);
    EXPECT_TRUE(page.isSubmitting());
    EXPECT_FALSE(page.sendButton()->isEnabled());
    page.submit();
    queue.advance(0.49);
    EXPECT_TRUE(workspace.openedURLs().empty());
    queue.advance(0.01);
    ASSERT_EQ(workspace.openedURLs().size(), 1u) << "a second press while sending sends nothing";

    const std::string url = workspace.openedURLs().back();
    EXPECT_EQ(url.rfind("mailto:help@example.org?", 0), 0u) << url;
    EXPECT_EQ(sentField("subject"), "[Zentaris]Other");
    const QString body = sentField("body");
    EXPECT_TRUE(body.startsWith(text("subject") + ": [Other]: crash on start\n\nIt crashed.\n\n")) << body.toStdString();
    EXPECT_TRUE(body.contains(text("user_email") + ": me@example.org\n"));
    EXPECT_TRUE(body.contains(text("system_information") + ":\n"));
    EXPECT_TRUE(body.contains(text("app_settings") + ":\n"));

    EXPECT_FALSE(page.isSubmitting());
    ASSERT_NE(page.alert(), nullptr);
    EXPECT_EQ(page.alert()->text(), text("message_sent_title"));
    EXPECT_EQ(page.alert()->informativeText(), text("message_sent_description"));
    EXPECT_EQ(page.subjectField()->text(), "");
    EXPECT_EQ(page.emailField()->text(), "");
    EXPECT_EQ(page.messageEditor()->toPlainText(), "");
    EXPECT_EQ(page.selectedContactType(), ContactType::general);
    EXPECT_TRUE(page.includeSystemInfo());
    EXPECT_FALSE(page.includeAppSettings());
    EXPECT_EQ(page.sendButton()->text(), text("send_message"));
}

TEST_F(SupportSettingsViewTest, InitialOptionsSendSystemInformationOnlyAndNoAddressLine) {
    page.messageEditor()->setPlainText("Question");
    page.submit();
    queue.advance(SupportSettingsView::sendDelay);
    ASSERT_EQ(workspace.openedURLs().size(), 1u);
    EXPECT_EQ(sentField("subject"), "[Zentaris]General Question");
    const QString body = sentField("body");
    EXPECT_TRUE(body.contains(text("system_information") + ":\n"));
    EXPECT_FALSE(body.contains(text("app_settings") + ":"));
    EXPECT_FALSE(body.contains(text("user_email") + ":"));
}

TEST_F(SupportSettingsViewTest, WithSystemInformationOffTheSettingsGoAloneWithNothingAboutTheMachine) {
    host.osVersion = "Testix 7, kernel 9.9.9";
    host.model = std::string("Vendor Board X1");
    screens.setScreens({platform::Screen{.frame = {0, 0, 1234, 567}}});
    send("Question", false, true);
    ASSERT_EQ(workspace.openedURLs().size(), 1u);
    const QString body = sentField("body");
    EXPECT_TRUE(body.contains(text("app_settings") + ":\nLanguage: en\nLaunch at Login: No\n")) << body.toStdString();
    EXPECT_FALSE(body.contains(text("system_information")));
    for (const char* machine : {"Testix", "Vendor Board", "Model", "Memory", "8 GB", "1234", "Display 1"}) {
        EXPECT_FALSE(body.contains(QString::fromLatin1(machine))) << machine << " in " << body.toStdString();
    }
    for (const QString& line : body.split('\n')) {
        EXPECT_FALSE(line.startsWith("Linux:") || line.startsWith("Displays:")) << line.toStdString();
    }
}

TEST_F(SupportSettingsViewTest, ALinkTooLongForAMailProgramsCommandLineIsNamedAsSuchAndKeepsTheForm) {
    send("a", false, true);
    ASSERT_EQ(workspace.openedURLs().size(), 1u);
    const std::size_t shortest = workspace.openedURLs().back().size();
    // Each letter of the message adds one byte to the link.
    const auto message = [&](std::size_t linkLength) { return QString(int(linkLength - shortest + 1), 'a'); };

    send(message(platform::longestProgramArgument() - 1), false, true);
    ASSERT_EQ(workspace.openedURLs().size(), 2u);
    EXPECT_EQ(workspace.openedURLs().back().size(), platform::longestProgramArgument() - 1);
    EXPECT_EQ(page.alert()->text(), text("message_sent_title")) << "the longest link that fits is handed over";

    // Line breaks grow threefold once encoded, so a message far shorter is too long too.
    for (const QString& tooLong : {message(platform::longestProgramArgument()), QStringLiteral("a\n").repeated(40000)}) {
        send(tooLong, false, true);
        EXPECT_EQ(workspace.openedURLs().size(), 2u) << "a link no mail program can take was handed over";
        ASSERT_NE(page.alert(), nullptr);
        EXPECT_EQ(page.alert()->text(), text("error_title"));
        EXPECT_EQ(page.alert()->informativeText(), text("email_too_long_message"));
        EXPECT_NE(text("email_too_long_message"), "email_too_long_message");
        EXPECT_EQ(page.messageEditor()->toPlainText(), tooLong);
        EXPECT_EQ(page.subjectField()->text(), "Subject");
        EXPECT_FALSE(page.includeSystemInfo());
        EXPECT_TRUE(page.includeAppSettings());
        EXPECT_FALSE(page.isSubmitting());
        EXPECT_TRUE(page.sendButton()->isEnabled()) << "shortened, it can be sent again";
    }
}

TEST_F(SupportSettingsViewTest, RefusedLinkShowsTheErrorAndKeepsTheForm) {
    workspace.setOpenURLResult(false);
    QTest::mouseClick(page.contactTypeButton(ContactType::bugReport), Qt::LeftButton);
    page.emailField()->setText("me@example.org");
    page.messageEditor()->setPlainText("Steps");
    page.submit();
    queue.advance(SupportSettingsView::sendDelay);
    EXPECT_EQ(workspace.openedURLs().size(), 1u);
    ASSERT_NE(page.alert(), nullptr);
    EXPECT_EQ(page.alert()->text(), text("error_title"));
    EXPECT_EQ(page.alert()->informativeText(), text("email_error_message"));
    EXPECT_EQ(page.subjectField()->text(), "[Bug Report]: ");
    EXPECT_EQ(page.emailField()->text(), "me@example.org");
    EXPECT_EQ(page.messageEditor()->toPlainText(), "Steps");
    EXPECT_EQ(page.selectedContactType(), ContactType::bugReport);
    EXPECT_TRUE(page.sendButton()->isEnabled());
}

TEST_F(SupportSettingsViewTest, AnUnusableRecipientIsReportedAsAnError) {
    auto dependencies = supportDependencies();
    dependencies.supportEmail = "help@example.org?cc=someone@example.org";
    SupportSettingsView misconfigured(dependencies);
    misconfigured.show();
    misconfigured.messageEditor()->setPlainText("Hello");
    misconfigured.submit();
    queue.advance(SupportSettingsView::sendDelay);
    EXPECT_TRUE(workspace.openedURLs().empty());
    ASSERT_NE(misconfigured.alert(), nullptr);
    EXPECT_EQ(misconfigured.alert()->text(), text("error_title"));
    EXPECT_FALSE(misconfigured.isSubmitting());
}

TEST_F(SupportSettingsViewTest, ClosingThePageCancelsAPendingSend) {
    auto* closing = new SupportSettingsView(supportDependencies());
    closing->show();
    closing->messageEditor()->setPlainText("Hello");
    closing->submit();
    delete closing;
    queue.advance(SupportSettingsView::sendDelay);
    EXPECT_TRUE(workspace.openedURLs().empty());
}

} // namespace
} // namespace zentaris::testing
