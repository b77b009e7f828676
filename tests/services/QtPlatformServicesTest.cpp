#include "LocalHttpsServer.h"
#include "support/OffscreenApplication.h"

#include "platform/fake/FakeAlertPresenter.h"
#include "platform/fake/FakeWorkspace.h"
#include "platform/qt/QtAlertPresenter.h"
#include "platform/qt/QtHttpClient.h"
#include "platform/qt/QtMainQueue.h"
#include "services/UpdateService.h"
#include "support/TemporaryDirectory.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <memory>

namespace zentaris {
namespace {

using platform::HttpError;
using platform::HttpRequest;
using platform::HttpResult;
using testing::LocalHttpsServer;

// Runs the event loop until `done` or the time is up; true when done.
bool runUntil(const std::function<bool()>& done, int milliseconds = 10000) {
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer tick;
    tick.start(10);
    while (!done() && elapsed.elapsed() < milliseconds) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

class QtHttpClientTest : public ::testing::Test {
protected:
    QApplication& application = testing::offscreenApplication();
    std::optional<HttpResult> send(platform::HttpClient& client, HttpRequest request) {
        std::optional<HttpResult> result;
        auto token = client.send(std::move(request), [&](const HttpResult& r) { result = r; });
        runUntil([&] { return result.has_value(); });
        return result;
    }
    HttpRequest request(double inactivity = 10, double deadline = 30) {
        HttpRequest r;
        r.url = (server.origin() + "/checkAppVersion").toStdString();
        r.headers = {{"Content-Type", "application/json"}};
        r.body = R"({"currentVersion":"1.0.0"})";
        r.inactivityTimeout = inactivity;
        r.deadline = deadline;
        r.maxResponseBytes = 64 * 1024;
        return r;
    }

    testing::TemporaryDirectory directory;
    LocalHttpsServer server{directory.path()};
    platform::qt::QtHttpClient client{{server.certificate()}};
};

TEST_F(QtHttpClientTest, PostsAndReturnsStatusAndBody) {
    ASSERT_TRUE(server.isListening());
    for (int status : {200, 500}) {
        server.respondWith(status, R"({"ok":true})");
        const auto result = send(client, request());
        ASSERT_TRUE(result);
        ASSERT_TRUE(result->ok());
        EXPECT_EQ(result->statusCode, status);
        EXPECT_EQ(result->body, R"({"ok":true})");
    }
    ASSERT_EQ(server.requests().size(), 2u);
    const auto& received = server.requests().front();
    EXPECT_EQ(received.method, "POST");
    EXPECT_EQ(received.path, "/checkAppVersion");
    EXPECT_EQ(received.headers.at("content-type"), "application/json");
    EXPECT_EQ(received.body, R"({"currentVersion":"1.0.0"})");
}

TEST_F(QtHttpClientTest, EachFailureIsReportedByItsKind) {
    platform::qt::QtHttpClient stranger;
    using Behaviour = LocalHttpsServer::Behaviour;
    const struct {
        const char* name;
        std::function<void()> serve;
        platform::HttpClient& client;
        HttpRequest request;
        HttpError error;
    } cases[] = {
        {"untrusted certificate", [&] { server.respondWith(200, "{}"); }, stranger, request(), HttpError::transport},
        {"plain http", [] {}, client, [&] { auto r = request(); r.url = "http://127.0.0.1:1/x"; return r; }(),
         HttpError::badURL},
        {"huge body", [&] { server.respondWith(200, QByteArray(1024 * 1024, 'x')); }, client, request(),
         HttpError::responseTooLarge},
        // The inactivity time-out ends a silent exchange well before the deadline.
        {"silent", [&] { server.setBehaviour(Behaviour::neverAnswer); }, client, request(0.3, 5), HttpError::timedOut},
        {"trickling", [&] { server.setBehaviour(Behaviour::trickle); }, client, request(0.5, 1), HttpError::timedOut},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        c.serve();
        QElapsedTimer elapsed;
        elapsed.start();
        const auto result = send(c.client, c.request);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->error, c.error);
        EXPECT_LT(elapsed.elapsed(), 4000);
    }
    EXPECT_EQ(server.requests().size(), 3u) << "nothing reached the server over plain http";
}

TEST_F(QtHttpClientTest, ADroppedRequestNeverCompletes) {
    server.setBehaviour(LocalHttpsServer::Behaviour::neverAnswer);
    bool completed = false;
    {
        auto token = client.send(request(), [&](const HttpResult&) { completed = true; });
        runUntil([&] { return !server.requests().empty(); }, 3000);
    }
    runUntil([] { return false; }, 200);
    EXPECT_FALSE(completed);
}

class UpdateServiceOverHttpsTest : public QtHttpClientTest {
protected:
    UpdateService makeService() {
        return UpdateService({defaults, queue, client, alerts, workspace, {}, std::string("1.2.3"),
                              server.origin().toStdString(), "https://example.org/product", {}});
    }
    bool check(UpdateService& service) {
        bool finished = false;
        service.checkForUpdates(true, [&] { finished = true; });
        return runUntil([&] { return finished; });
    }

    platform::MemoryUserDefaults defaults;
    platform::qt::QtMainQueue queue;
    platform::fake::FakeAlertPresenter alerts;
    platform::fake::FakeWorkspace workspace;
};

TEST_F(UpdateServiceOverHttpsTest, AcceptsOnlyACompleteWellTypedReplyWithStatus200) {
    const nlohmann::json valid = {{"updateAvailable", true}, {"latestVersion", "2.0.0"}, {"minRequiredVersion", "1.0.0"},
                                  {"downloadUrl", "https://example.org/d"}, {"releaseNotes", ""}, {"forceUpdate", false}};
    auto without = [&](const char* member) {
        auto document = valid;
        document.erase(member);
        return QByteArray::fromStdString(document.dump());
    };
    // Each member's type rules are checked where the reply is decoded; here the whole way through.
    const struct {
        const char* name;
        int status;
        QByteArray body;
    } failures[] = {
        {"missing minRequiredVersion", 200, without("minRequiredVersion")},
        {"not JSON", 200, "<html>Service Unavailable</html>"},
        {"status 204", 204, ""},
        {"status 500", 500, QByteArray::fromStdString(valid.dump())},
        {"a huge body", 200, QByteArray(1024 * 1024, ' ') + QByteArray::fromStdString(valid.dump())},
    };
    auto service = makeService();
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        server.respondWith(failure.status, failure.body);
        ASSERT_TRUE(check(service));
        EXPECT_FALSE(service.isChecking());
        EXPECT_FALSE(service.updateAvailable());
        EXPECT_FALSE(service.lastCheckDate());
        EXPECT_FALSE(defaults.object(UpdateService::lastCheckDateKey));
    }

    server.respondWith(200, QByteArray::fromStdString(valid.dump()));
    ASSERT_TRUE(check(service));
    EXPECT_TRUE(service.updateAvailable());
    EXPECT_EQ(service.latestVersion(), "2.0.0");
    EXPECT_TRUE(service.lastCheckDate());
    EXPECT_TRUE(defaults.dateValue(UpdateService::lastCheckDateKey));
    ASSERT_TRUE(runUntil([&] { return !alerts.presented().empty(); }));
    EXPECT_EQ(nlohmann::json::parse(server.requests().back().body.toStdString()),
              (nlohmann::json{{"currentVersion", "1.2.3"}, {"platform", "Linux"}}));
}

class QtAlertPresenterTest : public ::testing::Test {
protected:
    QApplication& application = testing::offscreenApplication();
    static QMessageBox* openBox() {
        QMessageBox* found = nullptr;
        runUntil([&] {
            for (auto* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) found = box;
            }
            return found != nullptr;
        }, 3000);
        return found;
    }
};

TEST_F(QtAlertPresenterTest, ShowsMarkupAsWrittenAndReportsTheButton) {
    platform::qt::QtAlertPresenter presenter;
    const std::string notes = "<b>bold</b> <a href=\"file:///etc/passwd\">link</a>";
    for (std::size_t pressed : {0u, 1u}) {
        std::optional<std::optional<std::size_t>> response;
        presenter.present({"<i>Update</i>", notes, platform::AlertStyle::informational, {"Download", "Later"}},
                          [&](std::optional<std::size_t> button) { response = button; });
        auto* box = openBox();
        ASSERT_TRUE(box);
        EXPECT_TRUE(box->isModal());
        EXPECT_EQ(box->text(), "<i>Update</i>");
        EXPECT_EQ(box->informativeText(), QString::fromStdString(notes));
        for (auto* label : box->findChildren<QLabel*>()) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
        }
        const auto buttons = box->buttons();
        ASSERT_EQ(buttons.size(), 2);
        QAbstractButton* target = nullptr;
        for (auto* button : buttons) {
            if (button->text() == (pressed == 0 ? "Download" : "Later")) target = button;
        }
        ASSERT_TRUE(target);
        target->click();
        ASSERT_TRUE(runUntil([&] { return response.has_value(); }, 3000));
        EXPECT_EQ(*response, pressed);
    }
}

} // namespace
} // namespace zentaris
