#include "services/UpdateService.h"

#include "platform/fake/FakeAlertPresenter.h"
#include "platform/fake/FakeHttpClient.h"
#include "platform/fake/FakeMainQueue.h"
#include "platform/fake/FakeWorkspace.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>
#include <memory>

namespace zentaris {
namespace {

using platform::Date;
using platform::DefaultsValue;

std::string reply(bool updateAvailable, bool forceUpdate, const std::string& notes = "Faster.",
                  const std::string& url = "https://example.org/download") {
    return nlohmann::json{{"updateAvailable", updateAvailable}, {"latestVersion", "2.0.0"},
                          {"minRequiredVersion", "1.0.0"},      {"downloadUrl", url},
                          {"releaseNotes", notes},              {"forceUpdate", forceUpdate}}
        .dump();
}

class UpdateServiceTest : public ::testing::Test {
protected:
    UpdateService::Dependencies dependencies() {
        return {defaults,  queue, http, alerts, workspace, [this] { ++terminations; }, appVersion,
                "https://updates.example.org", "https://example.org/product", SystemLanguageTexts()};
    }
    UpdateService& service() {
        if (!service_) service_ = std::make_unique<UpdateService>(dependencies());
        return *service_;
    }
    double now() const { return queue.wallNow(); }

    platform::MemoryUserDefaults defaults;
    platform::fake::FakeMainQueue queue;
    platform::fake::FakeHttpClient http;
    platform::fake::FakeAlertPresenter alerts;
    platform::fake::FakeWorkspace workspace;
    std::optional<std::string> appVersion = std::string("2.3.4");
    int terminations = 0;
    std::unique_ptr<UpdateService> service_;
};

TEST_F(UpdateServiceTest, DueRuleAndPublishedDateFollowTheStoredValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double infinity = std::numeric_limits<double>::infinity();
    struct Case {
        const char* name;
        std::optional<DefaultsValue> stored;
        bool due;
        bool publishedAsDate;
    };
    const Case cases[] = {
        {"absent", std::nullopt, true, false},
        {"exactly seven days", Date{now() - 604800}, true, true},
        {"one second short", Date{now() - 604799}, false, true},
        {"in the future", Date{now() + 3600}, false, true},
        {"a number", DefaultsValue{now() - 10}, true, false},
        {"a text", DefaultsValue{std::string("yesterday")}, true, false},
        {"not a number", Date{nan}, true, false},
        {"infinite", Date{infinity}, true, false},
        {"before 1970", Date{-5}, true, false},
        {"beyond year 9999", Date{1e300}, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::MemoryUserDefaults fresh;
        if (c.stored) fresh.set(UpdateService::lastCheckDateKey, *c.stored);
        auto deps = dependencies();
        UpdateService checker({fresh, queue, http, alerts, workspace, {}, appVersion, deps.baseURL, deps.productPageURL, {}});
        EXPECT_EQ(checker.shouldCheckForUpdates(), c.due);
        checker.checkForUpdatesIfNeeded();
        EXPECT_EQ(checker.lastCheckDate().has_value(), c.publishedAsDate);
    }
}

TEST_F(UpdateServiceTest, LaunchCheckSendsTheRequestHalfASecondLaterAndStaysSilent) {
    service().checkForUpdatesIfNeeded();
    queue.advance(0.49);
    EXPECT_TRUE(http.requests().empty());
    queue.advance(0.01);
    ASSERT_EQ(http.requests().size(), 1u);

    const auto& request = http.requests().front();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.url, "https://updates.example.org/checkAppVersion");
    ASSERT_EQ(request.headers.size(), 1u);
    EXPECT_EQ(request.headers[0], (std::pair<std::string, std::string>{"Content-Type", "application/json"}));
    EXPECT_EQ(nlohmann::json::parse(request.body), (nlohmann::json{{"currentVersion", "2.3.4"}, {"platform", "Linux"}}));
    EXPECT_EQ(request.inactivityTimeout, 10);
    EXPECT_GT(request.deadline, request.inactivityTimeout);
    EXPECT_EQ(request.maxResponseBytes, 64u * 1024u);
    EXPECT_TRUE(service().isChecking());

    http.respond(200, reply(true, false));
    queue.runPending();
    EXPECT_FALSE(service().isChecking());
    EXPECT_TRUE(service().updateAvailable());
    EXPECT_EQ(service().latestVersion(), "2.0.0");
    EXPECT_EQ(service().releaseNotes(), "Faster.");
    EXPECT_EQ(service().downloadUrl(), "https://example.org/download");
    EXPECT_FALSE(service().forceUpdate());
    EXPECT_EQ(service().lastCheckDate(), Date{now()});
    EXPECT_EQ(defaults.dateValue(UpdateService::lastCheckDateKey), Date{now()});
    EXPECT_TRUE(alerts.presented().empty());
}

TEST_F(UpdateServiceTest, NoLaunchCheckWithinTheInterval) {
    defaults.set(UpdateService::lastCheckDateKey, Date{now() - 3600});
    service().checkForUpdatesIfNeeded();
    queue.advance(5);
    EXPECT_TRUE(http.requests().empty());
    EXPECT_EQ(service().lastCheckDate(), Date{now() - 5 - 3600});
}

TEST_F(UpdateServiceTest, ForcedUpdateShowsOnlyTheRequiredAlertThenOpensTheDownloadAndQuits) {
    const struct {
        bool updateAvailable, showAlert;
        std::optional<std::size_t> closedWith;
    } cases[] = {
        {false, false, 0},
        {false, false, std::nullopt}, // closed without its button
        {true, true, std::nullopt},   // also available, and asked for: still only the required alert
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.updateAvailable << c.showAlert << c.closedWith.has_value());
        platform::fake::FakeAlertPresenter presenter;
        platform::fake::FakeWorkspace browser;
        terminations = 0;
        UpdateService checker({defaults, queue, http, presenter, browser, [this] { ++terminations; }, appVersion,
                               "https://updates.example.org", "https://example.org/product", {}});
        checker.checkForUpdates(c.showAlert);
        http.respond(200, reply(c.updateAvailable, /*forceUpdate=*/true));
        EXPECT_TRUE(presenter.presented().empty()) << "alerts wait for the main queue";
        queue.runPending();
        ASSERT_EQ(presenter.presented().size(), 1u);
        const auto& alert = presenter.presented().front();
        EXPECT_EQ(alert.style, platform::AlertStyle::critical);
        EXPECT_EQ(alert.messageText, "Update Required");
        EXPECT_EQ(alert.buttons, std::vector<std::string>{"Download"});
        EXPECT_EQ(terminations, 0);

        presenter.respond(c.closedWith);
        EXPECT_EQ(browser.openedURLs(), std::vector<std::string>{"https://example.org/download"});
        EXPECT_EQ(terminations, 1);
        EXPECT_EQ(presenter.openCount(), 0u);
    }
}

TEST_F(UpdateServiceTest, ASecondCheckWhileOneRunsIsRefused) {
    int finished = 0;
    service().checkForUpdates(false, [&] { ++finished; });
    service().checkForUpdates(true, [&] { ++finished; });
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(http.requests().size(), 1u);
    http.respond(200, reply(true, false));
    queue.runPending();
    EXPECT_EQ(finished, 2);
    EXPECT_TRUE(alerts.presented().empty()) << "the refused manual check shows nothing";
}

TEST_F(UpdateServiceTest, ManualCheckOffersANewerVersion) {
    service().checkForUpdates(true);
    http.respond(200, reply(true, false, "Line one\nLine two"));
    queue.runPending();
    ASSERT_EQ(alerts.presented().size(), 1u);
    const auto& alert = alerts.presented().front();
    EXPECT_EQ(alert.style, platform::AlertStyle::informational);
    EXPECT_EQ(alert.messageText, "Update Available");
    EXPECT_EQ(alert.informativeText, "update_available_message\n\nLine one\nLine two");
    EXPECT_EQ(alert.buttons, (std::vector<std::string>{"Download", "Later"}));

    alerts.respond(1);
    EXPECT_TRUE(workspace.openedURLs().empty());
    EXPECT_EQ(terminations, 0);

    service().checkForUpdates(true);
    http.respond(200, reply(true, false));
    queue.runPending();
    ASSERT_EQ(alerts.openCount(), 1u);
    alerts.respond(std::nullopt); // closed without a button
    EXPECT_TRUE(workspace.openedURLs().empty());
    EXPECT_EQ(terminations, 0);

    service().checkForUpdates(true);
    http.respond(200, reply(true, false, ""));
    queue.runPending();
    ASSERT_EQ(alerts.presented().size(), 3u);
    EXPECT_EQ(alerts.presented().back().informativeText, "update_available_message") << "no trailing line feeds";
    alerts.respond(0);
    EXPECT_EQ(workspace.openedURLs(), std::vector<std::string>{"https://example.org/download"});
}

TEST_F(UpdateServiceTest, ManualCheckWithoutNewerVersionOnlyMovesTheDate) {
    queue.setWallClock(2'000'000'000);
    service().checkForUpdates(true);
    http.respond(200, reply(false, false));
    queue.runPending();
    EXPECT_TRUE(alerts.presented().empty());
    EXPECT_EQ(service().lastCheckDate(), Date{2'000'000'000});
}

TEST_F(UpdateServiceTest, AFailedCheckChangesNothingButTheBusyFlag) {
    service().checkForUpdates(false);
    http.respond(200, reply(true, false));
    queue.advance(60);
    const auto storedDate = defaults.dateValue(UpdateService::lastCheckDateKey);
    const int writes = defaults.writeCount();

    struct Failure {
        const char* name;
        std::function<void()> answer;
    };
    const Failure failures[] = {
        {"status 204", [&] { http.respond(204, ""); }},
        {"status 500", [&] { http.respond(500, reply(true, false)); }},
        {"status 201", [&] { http.respond(201, reply(true, false)); }},
        {"member missing", [&] { http.respond(200, R"({"updateAvailable": false})"); }},
        {"not JSON", [&] { http.respond(200, "<html>"); }},
        {"transport", [&] { http.fail(platform::HttpError::transport); }},
        {"time-out", [&] { http.fail(platform::HttpError::timedOut); }},
        {"too large", [&] { http.fail(platform::HttpError::responseTooLarge); }},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.name);
        bool finished = false;
        service().checkForUpdates(true, [&] { finished = true; });
        EXPECT_TRUE(service().isChecking());
        failure.answer();
        queue.runPending();
        EXPECT_TRUE(finished);
        EXPECT_FALSE(service().isChecking());
        EXPECT_TRUE(service().updateAvailable());
        EXPECT_EQ(service().latestVersion(), "2.0.0");
        EXPECT_EQ(service().lastCheckDate(), storedDate);
        EXPECT_EQ(defaults.writeCount(), writes);
        EXPECT_TRUE(alerts.presented().empty());
    }
}

TEST_F(UpdateServiceTest, AnAddressThatIsNotHttpsIsNeverRequested) {
    for (const char* base : {"http://updates.example.org", "https://a b.org"}) {
        SCOPED_TRACE(base);
        UpdateService checker({defaults, queue, http, alerts, workspace, {}, appVersion, base, "", {}});
        bool finished = false;
        checker.checkForUpdates(true, [&] { finished = true; });
        EXPECT_TRUE(finished);
        EXPECT_FALSE(checker.isChecking());
    }
    EXPECT_TRUE(http.requests().empty());
}

TEST_F(UpdateServiceTest, MissingVersionIsSentAsOneZeroZero) {
    appVersion.reset();
    service().checkForUpdates(false);
    ASSERT_EQ(http.requests().size(), 1u);
    EXPECT_EQ(nlohmann::json::parse(http.requests()[0].body)["currentVersion"], "1.0.0");
}

TEST_F(UpdateServiceTest, OnlyHttpsDownloadAddressesReachTheBrowser) {
    const std::pair<const char*, const char*> cases[] = {
        {"https://example.org/zentaris-2.0.tar.gz", "https://example.org/zentaris-2.0.tar.gz"},
        {"", "https://example.org/product"},
        {"http://example.org/download", "https://example.org/product"},
        {"javascript:alert(1)", "https://example.org/product"},
    };
    for (const auto& [given, opened] : cases) {
        SCOPED_TRACE(given);
        platform::fake::FakeWorkspace browser;
        UpdateService checker({defaults, queue, http, alerts, browser, {}, appVersion, "https://updates.example.org",
                               "https://example.org/product", {}});
        checker.openDownloadPage(given);
        EXPECT_EQ(browser.openedURLs(), std::vector<std::string>{opened});
    }
    platform::fake::FakeWorkspace browser;
    UpdateService unconfigured({defaults, queue, http, alerts, browser, {}, appVersion, "", "not a page", {}});
    unconfigured.openDownloadPage("");
    EXPECT_TRUE(browser.openedURLs().empty());
}

TEST_F(UpdateServiceTest, LongServerTextsAreCutInTheAlert) {
    service().checkForUpdates(true);
    http.respond(200, reply(true, false, std::string(50'000, 'n')));
    queue.runPending();
    ASSERT_EQ(alerts.presented().size(), 1u);
    EXPECT_LT(alerts.presented()[0].informativeText.size(), UpdateService::maxShownReleaseNotesBytes + 100);
    EXPECT_EQ(service().releaseNotes().size(), 50'000u);
}

TEST_F(UpdateServiceTest, AnAlertThatOutlivesTheServiceDoesNothing) {
    service().checkForUpdates(false);
    http.respond(200, reply(false, true));
    queue.runPending();
    ASSERT_EQ(alerts.openCount(), 1u);
    service_.reset();
    alerts.respond(0);
    EXPECT_TRUE(workspace.openedURLs().empty());
    EXPECT_EQ(terminations, 0);
}

TEST_F(UpdateServiceTest, DroppingTheServiceAbandonsItsRequestAndLaunchCheck) {
    service().checkForUpdatesIfNeeded();
    service_.reset();
    queue.advance(1);
    EXPECT_TRUE(http.requests().empty());

    service().checkForUpdates(false);
    EXPECT_EQ(http.pendingCount(), 1u);
    service_.reset();
    EXPECT_EQ(http.pendingCount(), 0u);
}

TEST_F(UpdateServiceTest, EnglishAlertTextsCarryTheVersion) {
    const platform::Bundle resources(ZENTARIS_SOURCE_RESOURCES, std::nullopt);
    UpdateService checker({defaults, queue, http, alerts, workspace, {}, appVersion, "https://updates.example.org",
                           "https://example.org/product", SystemLanguageTexts(resources, {"en-US"})});
    checker.checkForUpdates(true);
    http.respond(200, reply(true, false, ""));
    queue.runPending();
    ASSERT_EQ(alerts.presented().size(), 1u);
    EXPECT_NE(alerts.presented()[0].informativeText.find("2.0.0"), std::string::npos);
    EXPECT_EQ(alerts.presented()[0].informativeText.find("%@"), std::string::npos);
}

} // namespace
} // namespace zentaris
