// The whole hosting client over the real HTTP client, against a stand-in of
// the hosting service on 127.0.0.1.

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "Support/FakeHostingServer.hpp"
#include "Support/TestClock.hpp"
#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvCore/Rules/DeviceFlowPoller.hpp"
#include "TarvHosting/GitHub/GitHubClientLive.hpp"
#include "TarvHostingTests/HostingErrors.hpp"
#include "TarvSystem/Network/CurlHTTPClient.hpp"

namespace tarv::hosting {
namespace {

using core::HostingError;
using test::hostingErrorOf;
using testing::FakeHostingServer;
using testing::LoopbackHTTPServer;
using testing::TestClock;

struct LoopbackTest : ::testing::Test {
    FakeHostingServer server;
    GitHubClientLive client{std::make_shared<system::CurlHTTPClient>(5), "test-client-id", server.webBase(),
                            server.apiBase()};

    void SetUp() override { server.addAccount("gho_known", "octo", "Octo Cat"); }

    std::vector<LoopbackHTTPServer::Request> requests() { return server.http().requests(); }
};

TEST_F(LoopbackTest, SignInFromCodeToUser) {
    server.setDeviceCode("dev-9", "WDJB-MJHT", 5, 900);
    server.setTokenAnswers({"authorization_pending", "slow_down", "authorization_pending", "token:gho_new"});
    server.addAccount("gho_new", "newbie", std::nullopt);

    const core::DeviceCode code = client.requestDeviceCode({});
    EXPECT_EQ(code, (core::DeviceCode{"dev-9", "WDJB-MJHT", server.webBase() + "/login/device", 5, 900}));

    TestClock clock;
    const auto status = core::DeviceFlowPoller::waitForToken(client, clock, code, {});
    ASSERT_EQ(status, core::DeviceTokenStatus::authorized("gho_new"));
    EXPECT_EQ(clock.sleeps(), (std::vector<std::chrono::milliseconds>{std::chrono::seconds(5), std::chrono::seconds(5),
                                                                      std::chrono::seconds(10),
                                                                      std::chrono::seconds(10)}));
    EXPECT_EQ(client.currentUser("gho_new", {}), (core::GitHubUser{"newbie", std::nullopt}));

    const auto sent = requests();
    ASSERT_EQ(sent.size(), 6u);
    EXPECT_EQ(sent[0].method, "POST");
    EXPECT_EQ(sent[0].path, "/login/device/code");
    EXPECT_EQ(sent[0].body, "client_id=test-client-id&scope=repo%20read%3Aorg");
    EXPECT_EQ(sent[0].header("Content-Type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(sent[0].header("Accept"), "application/json");
    EXPECT_EQ(sent[1].body,
              "client_id=test-client-id&device_code=dev-9&grant_type=urn%3Aietf%3Aparams%3Aoauth%3Agrant-type%3Adevice_code");
    EXPECT_EQ(sent[5].path, "/api/user");
    EXPECT_EQ(sent[5].header("Authorization"), "Bearer gho_new");
    EXPECT_EQ(sent[5].header("X-GitHub-Api-Version"), "2022-11-28");
    EXPECT_EQ(sent[5].header("User-Agent"), "Tarv");
}

TEST_F(LoopbackTest, SignInEndings) {
    struct Case {
        std::vector<std::string> answers;
        core::DeviceTokenStatus expected;
        std::size_t polls;
    };
    const Case cases[] = {
        {{"authorization_pending", "access_denied"}, core::DeviceTokenStatus::denied(), 2},
        {{"expired_token"}, core::DeviceTokenStatus::expired(), 1},
        // Pending (or slow-down) until the code's lifetime of 3 seconds is used.
        {{"authorization_pending"}, core::DeviceTokenStatus::expired(), 3},
        {{"slow_down"}, core::DeviceTokenStatus::expired(), 2},
    };
    for (const Case& c : cases) {
        FakeHostingServer fresh;
        fresh.setDeviceCode("d", "u", 1, 3);
        fresh.setTokenAnswers(c.answers);
        GitHubClientLive signIn(std::make_shared<system::CurlHTTPClient>(5), "test-client-id", fresh.webBase(),
                                fresh.apiBase());
        TestClock clock;
        clock.limitSleeps(10);
        EXPECT_EQ(core::DeviceFlowPoller::waitForToken(signIn, clock, signIn.requestDeviceCode({}), {}), c.expected)
            << c.answers.front();
        EXPECT_EQ(fresh.http().requestCount(), 1 + c.polls) << c.answers.front();
    }

    server.setClientID("another-app");
    EXPECT_EQ(hostingErrorOf([&] { client.requestDeviceCode({}); }),
              HostingError::http(400, "The client_id passed is incorrect."));
}

TEST_F(LoopbackTest, CancellingTheSignInStopsPollingAtOnce) {
    server.setDeviceCode("d", "u", 5, 900);
    server.setTokenAnswers({"authorization_pending"});
    TestClock clock(TestClock::SleepMode::wait);
    std::stop_source stop;
    const core::DeviceCode code = client.requestDeviceCode({});
    auto waiting = std::async(std::launch::async,
                              [&] { return core::DeviceFlowPoller::waitForToken(client, clock, code, stop.get_token()); });
    ASSERT_TRUE(clock.waitForSleepers(1, std::chrono::seconds(10)));
    clock.advance(std::chrono::seconds(5));
    ASSERT_TRUE(clock.waitForSleeps(2, std::chrono::seconds(10)));
    ASSERT_TRUE(clock.waitForSleepers(1, std::chrono::seconds(10)));
    stop.request_stop();
    ASSERT_EQ(waiting.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_THROW(waiting.get(), core::CancellationError);
    EXPECT_EQ(server.http().requestCount(), 2u);  // the code and one poll
}

TEST_F(LoopbackTest, ConditionalRequestsThroughTheCache) {
    server.setPullRequests("octo/tool", {core::PullRequest{12, "Add a thing", "ana", "feature/thing", false, true,
                                                           1714564800, "0123abcd"},
                                         core::PullRequest{11, "From a fork", "bo", "patch-1", true, false, 0, "ff"}});
    const auto first = client.pullRequests("octo", "tool", "gho_known", {});
    const auto second = client.pullRequests("octo", "tool", "gho_known", {});
    ASSERT_EQ(first.size(), 2u);
    EXPECT_EQ(first[0], (core::PullRequest{12, "Add a thing", "ana", "feature/thing", false, true, 1714564800,
                                           "0123abcd"}));
    EXPECT_TRUE(first[1].isFromFork);
    EXPECT_EQ(second, first);
    EXPECT_EQ(server.notModifiedCount(), 1u);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].target, "/api/repos/octo/tool/pulls?state=open&sort=updated&direction=desc&per_page=100");
    EXPECT_EQ(sent[0].header("If-None-Match"), std::nullopt);
    EXPECT_TRUE(sent[1].header("If-None-Match").has_value());

    // The answer changed: a full answer again, and the cache follows it.
    server.setPullRequests("octo/tool", {});
    EXPECT_TRUE(client.pullRequests("octo", "tool", "gho_known", {}).empty());
    EXPECT_TRUE(client.pullRequests("octo", "tool", "gho_known", {}).empty());
    EXPECT_EQ(server.notModifiedCount(), 2u);
}

TEST_F(LoopbackTest, RepositoriesAcrossPages) {
    std::vector<core::GitHubRepository> rows;
    for (int i = 0; i < 230; ++i) {
        rows.push_back(core::GitHubRepository{"octo/r" + std::to_string(i), i % 3 == 0,
                                              server.webBase() + "/octo/r" + std::to_string(i) + ".git", i % 7 == 0});
    }
    server.setRepositories(rows);
    EXPECT_EQ(client.repositories("gho_known", {}), rows);
    const auto sent = requests();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[2].target, "/api/user/repos?sort=pushed&per_page=100&page=3");
}

TEST_F(LoopbackTest, ChecksOfARef) {
    server.setCheckRuns("octo/tool", "feature/x y", {{"completed", "success"}, {"completed", std::nullopt},
                                                    {"in_progress", std::nullopt}, {"completed", "failure"}});
    server.setStatuses("octo/tool", "feature/x y", {"success", "error"});
    EXPECT_EQ(client.checks("octo", "tool", "feature/x y", "gho_known", {}), (core::CheckSummary{2, 2, 2}));
    EXPECT_EQ(requests().at(0).path, "/api/repos/octo/tool/commits/feature/x%20y/check-runs");
    // No such commit: nothing to count, no error.
    EXPECT_EQ(client.checks("octo", "tool", "unknown", "gho_known", {}), core::CheckSummary{});
}

TEST_F(LoopbackTest, CreateRepositoryAndItsServiceMessages) {
    const auto created = client.createRepository("tool", "A tool", true, "gho_known", {});
    EXPECT_EQ(created, (core::GitHubRepository{"octo/tool", true, server.webBase() + "/octo/tool.git", false}));
    EXPECT_EQ(requests().at(0).body, R"({"auto_init":false,"description":"A tool","name":"tool","private":true})");
    EXPECT_EQ(requests().at(0).header("Content-Type"), "application/json");
    EXPECT_EQ(hostingErrorOf([&] { client.createRepository("tool", "", false, "gho_known", {}); }),
              HostingError::http(422, "Repository creation failed.: name already exists on this account"));
    EXPECT_EQ(server.createdRepositories(), std::vector<std::string>{"octo/tool"});
}

TEST_F(LoopbackTest, FailuresOfTheService) {
    // Unknown token: the session expired.
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("gho_revoked", {}); }), HostingError::unauthorized());
    EXPECT_EQ(hostingErrorOf([&] { client.repositories("gho_revoked", {}); }), HostingError::unauthorized());

    server.override("GET", "/api/repos/octo/private/pulls",
                    LoopbackHTTPServer::Response::json(403, R"({"message":"Must have admin rights to Repository."})"));
    EXPECT_EQ(hostingErrorOf([&] { client.pullRequests("octo", "private", "gho_known", {}); }),
              HostingError::forbidden("Must have admin rights to Repository."));

    server.override("GET", "/api/user",
                    LoopbackHTTPServer::Response::json(403, R"({"message":"API rate limit exceeded"})")
                        .with("X-RateLimit-Remaining", "0"));
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("gho_known", {}); }), HostingError::rateLimited());

    server.override("GET", "/api/user", LoopbackHTTPServer::Response::json(200, R"({"login":)"));
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("gho_known", {}); }), HostingError::invalidResponse());

    server.override("GET", "/api/user/repos", LoopbackHTTPServer::Response::text(502, "<html>Bad gateway</html>",
                                                                                 "text/html"));
    EXPECT_EQ(hostingErrorOf([&] { client.repositories("gho_known", {}); }),
              HostingError::http(502, "<html>Bad gateway</html>"));

    EXPECT_EQ(hostingErrorOf([&] { client.pullRequests("octo", "missing", "gho_known", {}); }),
              HostingError::notFound());
}

TEST_F(LoopbackTest, AHeaderInjectingTokenNeverReachesTheServer) {
    server.setDeviceCode("d", "u", 1, 900);
    server.setTokenAnswers({"token:gho_1\r\nX-Injected: yes"});
    TestClock clock;
    const auto code = client.requestDeviceCode({});
    EXPECT_EQ(hostingErrorOf([&] { core::DeviceFlowPoller::waitForToken(client, clock, code, {}); }),
              HostingError::invalidResponse());
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("gho_1\r\nX-Injected: yes", {}); }),
              HostingError::unauthorized());
    for (const auto& request : requests()) EXPECT_EQ(request.header("X-Injected"), std::nullopt);
    EXPECT_EQ(requests().size(), 2u);
}

TEST_F(LoopbackTest, NoServerIsANetworkFailure) {
    std::string closedBase;
    {
        FakeHostingServer gone;
        closedBase = gone.apiBase();
    }
    GitHubClientLive offline(std::make_shared<system::CurlHTTPClient>(5), "id", closedBase, closedBase);
    const auto error = hostingErrorOf([&] { offline.currentUser("gho_known", {}); });
    ASSERT_TRUE(error);
    EXPECT_TRUE(std::holds_alternative<HostingError::Network>(error->value)) << error->description();
}

}  // namespace
}  // namespace tarv::hosting
