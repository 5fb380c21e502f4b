#include "TarvHosting/GitHub/GitHubClientLive.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <thread>

#include "Support/FakeHostingHTTPClient.hpp"
#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvHostingTests/HostingErrors.hpp"

namespace tarv::hosting {
namespace {

using core::HostingError;
using core::HTTPRequest;
using test::hostingErrorOf;
using testing::FakeHostingHTTPClient;
using testing::httpResponse;

constexpr const char* api = "https://api.test";
constexpr const char* web = "https://web.test";

struct ClientTest : ::testing::Test {
    std::shared_ptr<FakeHostingHTTPClient> http = std::make_shared<FakeHostingHTTPClient>();
    GitHubClientLive client{http, "client-1", web, api};

    std::optional<std::string> header(std::size_t request, const std::string& name) const {
        const HTTPRequest r = http->request(request);
        const auto it = r.headers.find(name);
        if (it == r.headers.end()) return std::nullopt;
        return it->second;
    }
};

std::string repositoryRows(int count, int from = 0) {
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
        if (i > 0) out += ",";
        const std::string n = std::to_string(from + i);
        out += R"({"full_name":"o/r)" + n + R"(","clone_url":"https://h/o/r)" + n + R"(.git"})";
    }
    return out + "]";
}

TEST_F(ClientTest, RESTRequestsCarryExactlyTheServiceHeaders) {
    http->answer(200, R"({"login":"octo","name":"Octo"})");
    EXPECT_EQ(client.currentUser("tok", {}), (core::GitHubUser{"octo", "Octo"}));
    const HTTPRequest request = http->request(0);
    EXPECT_EQ(request.method, HTTPRequest::Method::get);
    EXPECT_EQ(request.url, "https://api.test/user");
    EXPECT_TRUE(request.body.empty());
    EXPECT_EQ(request.headers, (std::map<std::string, std::string>{{"Accept", "application/vnd.github+json"},
                                                                  {"Authorization", "Bearer tok"},
                                                                  {"X-GitHub-Api-Version", "2022-11-28"},
                                                                  {"User-Agent", "Tarv"}}));
}

TEST_F(ClientTest, RepeatedGetIsConditionalAndA304ServesTheCachedAnswer) {
    http->answer(200, R"({"login":"octo"})", {{"etag", "W/\"e1\""}});
    http->answer(304, "", {{"etag", "W/\"e1\""}});
    EXPECT_EQ(client.currentUser("tok", {}).login, "octo");
    EXPECT_EQ(client.currentUser("tok", {}).login, "octo");
    EXPECT_EQ(header(0, "If-None-Match"), std::nullopt);
    EXPECT_EQ(header(1, "If-None-Match"), "W/\"e1\"");

    // Another token never uses the first token's entry.
    http->answer(200, R"({"login":"other"})", {{"etag", "\"e2\""}});
    EXPECT_EQ(client.currentUser("tok2", {}).login, "other");
    EXPECT_EQ(header(2, "If-None-Match"), std::nullopt);
    EXPECT_EQ(client.etags().count(), 2u);
}

TEST_F(ClientTest, AnswersWithoutATagOrFailingDropTheEntry) {
    struct Case {
        const char* name;
        core::HTTPResponse second;
        std::optional<HostingError> error;
    };
    const Case cases[] = {
        {"200 without etag", httpResponse(200, R"({"login":"a"})"), std::nullopt},
        {"401", httpResponse(401, R"({"message":"Bad credentials"})"), HostingError::unauthorized()},
        {"500", httpResponse(500, "oops"), HostingError::http(500, "oops")},
        {"200 with a tag that would break a header", httpResponse(200, R"({"login":"a"})", {{"etag", "\"x\"\r\nX: 1"}}),
         std::nullopt},
    };
    for (const Case& c : cases) {
        auto fake = std::make_shared<FakeHostingHTTPClient>();
        GitHubClientLive fresh(fake, "id", web, api);
        fake->answer(200, R"({"login":"a"})", {{"etag", "\"e1\""}});
        fake->answer(c.second);
        fake->answer(200, R"({"login":"a"})");
        fresh.currentUser("t", {});
        EXPECT_EQ(hostingErrorOf([&] { fresh.currentUser("t", {}); }), c.error) << c.name;
        fresh.currentUser("t", {});
        EXPECT_EQ(fake->request(1).headers.count("If-None-Match"), 1u) << c.name;
        EXPECT_EQ(fake->request(2).headers.count("If-None-Match"), 0u) << c.name;
        EXPECT_EQ(fresh.etags().count(), 0u) << c.name;
    }
}

// Each GET endpoint: the second call is conditional and its 304 yields what
// the first answer said.
TEST_F(ClientTest, EveryGetEndpointIsServedFromTheCacheOn304) {
    struct Endpoint {
        const char* name;
        std::vector<std::string> bodies;  // the first answers, one per request
        std::function<std::string(GitHubClientLive&)> call;  // a printable result
    };
    const Endpoint endpoints[] = {
        {"currentUser", {R"({"login":"octo","name":"O"})"},
         [](GitHubClientLive& c) { return c.currentUser("t", {}).login; }},
        {"pullRequests", {R"([{"number":4,"title":"T","head":{"ref":"f"}}])"},
         [](GitHubClientLive& c) { return c.pullRequests("o", "r", "t", {}).at(0).title; }},
        {"repositories", {repositoryRows(2)},
         [](GitHubClientLive& c) { return c.repositories("t", {}).at(1).fullName; }},
        {"checks",
         {R"({"check_runs":[{"status":"completed","conclusion":"failure"}]})", R"({"statuses":[{"state":"success"}]})"},
         [](GitHubClientLive& c) {
             const auto summary = c.checks("o", "r", "main", "t", {});
             return std::to_string(summary.succeeded) + "/" + std::to_string(summary.failed);
         }},
    };
    for (const Endpoint& endpoint : endpoints) {
        auto fake = std::make_shared<FakeHostingHTTPClient>();
        GitHubClientLive fresh(fake, "id", web, api);
        int tag = 0;
        for (const std::string& body : endpoint.bodies) fake->answer(200, body, {{"etag", std::to_string(++tag)}});
        const std::string first = endpoint.call(fresh);
        fake->respondWith([](const HTTPRequest&, std::stop_token) { return httpResponse(304); });
        EXPECT_EQ(endpoint.call(fresh), first) << endpoint.name;
        const std::size_t count = endpoint.bodies.size();
        ASSERT_EQ(fake->requestCount(), 2 * count) << endpoint.name;
        for (std::size_t i = 0; i < count; ++i) {
            const HTTPRequest again = fake->request(count + i);
            EXPECT_EQ(again.url, fake->request(i).url) << endpoint.name;
            EXPECT_EQ(again.headers.at("If-None-Match"), std::to_string(i + 1)) << endpoint.name;
        }
    }
}

TEST_F(ClientTest, A304WithoutACachedAnswerIsAnError) {
    http->answer(304, "");
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("tok", {}); }), HostingError::http(304, ""));
}

TEST_F(ClientTest, PostsNeverTouchTheCache) {
    http->answer(200, R"({"device_code":"d","user_code":"u","verification_uri":"https://w/d"})",
                 {{"etag", "\"d\""}});
    http->answer(200, R"({"error":"authorization_pending"})", {{"etag", "\"p\""}});
    http->answer(201, R"({"full_name":"me/x","clone_url":"https://h/me/x.git"})", {{"etag", "\"c\""}});
    http->answer(201, R"({"full_name":"me/x","clone_url":"https://h/me/x.git"})", {{"etag", "\"c\""}});
    client.requestDeviceCode({});
    client.pollAccessToken("d", {});
    client.createRepository("x", "", false, "tok", {});
    client.createRepository("x", "", false, "tok", {});
    EXPECT_EQ(client.etags().count(), 0u);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(header(i, "If-None-Match"), std::nullopt) << i;
    EXPECT_EQ(http->request(0).url, "https://web.test/login/device/code");
    EXPECT_EQ(http->request(1).url, "https://web.test/login/oauth/access_token");
}

TEST_F(ClientTest, DeviceAnswersAreReadWhateverTheStatus) {
    http->answer(400, R"({"error":"device_flow_disabled"})");
    http->answer(401, R"({"error":"authorization_pending"})");
    http->answer(502, "<html>bad gateway</html>");
    EXPECT_EQ(hostingErrorOf([&] { client.requestDeviceCode({}); }), HostingError::deviceFlowDisabled());
    EXPECT_EQ(client.pollAccessToken("d", {}), core::DeviceTokenStatus::pending());
    EXPECT_EQ(hostingErrorOf([&] { client.pollAccessToken("d", {}); }),
              HostingError::http(502, "<html>bad gateway</html>"));
}

// Every REST operation against the same failing answers.
TEST_F(ClientTest, EndpointsMapFailures) {
    using Call = std::function<void(GitHubClientLive&)>;
    struct Endpoint {
        const char* name;
        Call call;
        bool checks;  // the check requests treat 403 and 422 as "no data"
    };
    const Endpoint endpoints[] = {
        {"currentUser", [](GitHubClientLive& c) { c.currentUser("t", {}); }, false},
        {"pullRequests", [](GitHubClientLive& c) { c.pullRequests("o", "r", "t", {}); }, false},
        {"repositories", [](GitHubClientLive& c) { c.repositories("t", {}); }, false},
        {"createRepository", [](GitHubClientLive& c) { c.createRepository("r", "d", true, "t", {}); }, false},
        {"checks", [](GitHubClientLive& c) { c.checks("o", "r", "main", "t", {}); }, true},
    };
    const std::string validationFailed =
        R"({"message":"Validation Failed","errors":[{"resource":"Repository","field":"name",)"
        R"("message":"name already exists on this account"}]})";
    struct Answer {
        const char* name;
        core::HTTPResponse response;
        std::optional<HostingError> error;
        std::optional<HostingError> checksError;
    };
    const Answer answers[] = {
        {"401", httpResponse(401, R"({"message":"Bad credentials"})"), HostingError::unauthorized(),
         HostingError::unauthorized()},
        {"403", httpResponse(403, R"({"message":"Resource not accessible by integration"})"),
         HostingError::forbidden("Resource not accessible by integration"), std::nullopt},
        {"403 rate limited", httpResponse(403, R"({"message":"API rate limit exceeded"})",
                                          {{"x-ratelimit-remaining", "0"}}),
         HostingError::rateLimited(), HostingError::rateLimited()},
        {"422", httpResponse(422, validationFailed),
         HostingError::http(422, "Validation Failed: name already exists on this account"), std::nullopt},
        {"malformed body", httpResponse(200, R"({"login":)"), HostingError::invalidResponse(), std::nullopt},
        {"502 HTML", httpResponse(502, "<html/>"), HostingError::http(502, "<html/>"),
         HostingError::http(502, "<html/>")},
    };
    for (const Endpoint& endpoint : endpoints) {
        for (const Answer& answer : answers) {
            auto fake = std::make_shared<FakeHostingHTTPClient>();
            fake->respondWith([&](const HTTPRequest&, std::stop_token) { return answer.response; });
            GitHubClientLive fresh(fake, "id", web, api);
            const auto error = hostingErrorOf([&] { endpoint.call(fresh); });
            EXPECT_EQ(error, endpoint.checks ? answer.checksError : answer.error)
                << endpoint.name << " / " << answer.name;
        }
    }
}

TEST_F(ClientTest, ShapeErrorsOfSuccessfulAnswers) {
    http->respondWith([](const HTTPRequest&, std::stop_token) { return httpResponse(200, R"({"not":"a list"})"); });
    EXPECT_EQ(hostingErrorOf([&] { client.pullRequests("o", "r", "t", {}); }), HostingError::invalidResponse());
    EXPECT_EQ(hostingErrorOf([&] { client.repositories("t", {}); }), HostingError::invalidResponse());
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("t", {}); }), HostingError::invalidResponse());
    EXPECT_EQ(hostingErrorOf([&] { client.createRepository("r", "", false, "t", {}); }),
              HostingError::invalidResponse());
    EXPECT_EQ(client.checks("o", "r", "main", "t", {}), core::CheckSummary{});
}

TEST_F(ClientTest, RepositoryPagesFollowWhileFull) {
    struct Case {
        std::vector<int> pageSizes;
        std::size_t requests;
        std::size_t rows;
    };
    const Case cases[] = {
        {{3}, 1, 3},
        {{100, 0}, 2, 100},
        {{100, 99}, 2, 199},
        {{100, 100, 100, 100, 100, 100}, 5, 500},
    };
    for (const Case& c : cases) {
        auto fake = std::make_shared<FakeHostingHTTPClient>();
        int from = 0;
        for (int size : c.pageSizes) {
            fake->answer(200, repositoryRows(size, from));
            from += size;
        }
        GitHubClientLive fresh(fake, "id", web, api);
        const auto rows = fresh.repositories("t", {});
        EXPECT_EQ(rows.size(), c.rows);
        ASSERT_EQ(fake->requestCount(), c.requests);
        for (std::size_t i = 0; i < c.requests; ++i) {
            EXPECT_EQ(fake->request(i).url,
                      "https://api.test/user/repos?sort=pushed&per_page=100&page=" + std::to_string(i + 1));
        }
        if (!rows.empty()) {
            EXPECT_EQ(rows.back().fullName, "o/r" + std::to_string(c.rows - 1));
        }
    }
}

TEST_F(ClientTest, AMalformedRowShortensAPageAndEndsPaging) {
    std::string page = repositoryRows(99);
    page.insert(page.size() - 1, R"(,{"full_name":"o/broken"})");
    http->answer(200, page);
    EXPECT_EQ(client.repositories("t", {}).size(), 99u);
    EXPECT_EQ(http->requestCount(), 1u);
}

TEST_F(ClientTest, AFailingPageFailsTheWholeList) {
    http->answer(200, repositoryRows(100));
    http->answer(500, "down");
    EXPECT_EQ(hostingErrorOf([&] { client.repositories("t", {}); }), HostingError::http(500, "down"));
}

TEST_F(ClientTest, PullRequestPath) {
    http->answer(200, R"([{"number":3,"title":"T","head":{"ref":"f"}}])");
    EXPECT_EQ(client.pullRequests("my-org", "repo.name_2", "t", {}).size(), 1u);
    EXPECT_EQ(http->request(0).url,
              "https://api.test/repos/my-org/repo.name_2/pulls?state=open&sort=updated&direction=desc&per_page=100");
}

// Owner and name come from a remote address that anyone could have written:
// what no repository can be called never reaches a URL.
TEST_F(ClientTest, UnusableOwnerOrNameSendsNothing) {
    const std::pair<const char*, const char*> cases[] = {
        {"o", "r/../../user"}, {"..", "r"}, {"o", "."}, {"", "r"}, {"o", ""}, {"o w", "r"}, {"o", "r?x=1"},
        {"o", "r#x"}, {"o", "r%2F"}, {"o\r\nX: 1", "r"}, {"ñ", "r"}, {"o/sub", "r"},
    };
    for (const auto& [owner, name] : cases) {
        EXPECT_EQ(hostingErrorOf([&] { client.pullRequests(owner, name, "t", {}); }), HostingError::notFound())
            << owner << " " << name;
        EXPECT_EQ(client.checks(owner, name, "main", "t", {}), core::CheckSummary{}) << owner << " " << name;
    }
    EXPECT_EQ(http->requestCount(), 0u);
}

TEST_F(ClientTest, ChecksAddRunsAndStatuses) {
    http->answer(200, R"({"check_runs":[{"status":"completed","conclusion":"success"},{"status":"queued"}]})");
    http->answer(200, R"({"statuses":[{"state":"failure"},{"state":"success"}]})");
    EXPECT_EQ(client.checks("o", "r", "feature/x y", "t", {}), (core::CheckSummary{2, 1, 1}));
    EXPECT_EQ(http->request(0).url, "https://api.test/repos/o/r/commits/feature/x%20y/check-runs?per_page=100");
    EXPECT_EQ(http->request(1).url, "https://api.test/repos/o/r/commits/feature/x%20y/status");
}

TEST_F(ClientTest, ChecksWithoutDataContributeNothing) {
    struct Case {
        const char* name;
        core::HTTPResponse runs;
        core::HTTPResponse statuses;
        std::optional<core::CheckSummary> summary;
        std::optional<HostingError> error;
        std::size_t requests;
    };
    const auto oneSuccess = httpResponse(200, R"({"statuses":[{"state":"success"}]})");
    const Case cases[] = {
        {"404 runs", httpResponse(404, R"({"message":"No commit found"})"), oneSuccess, core::CheckSummary{1, 0, 0},
         std::nullopt, 2},
        {"403 runs", httpResponse(403, R"({"message":"no"})"), oneSuccess, core::CheckSummary{1, 0, 0}, std::nullopt,
         2},
        {"422 both", httpResponse(422, "{}"), httpResponse(422, "{}"), core::CheckSummary{}, std::nullopt, 2},
        {"404 rate limited", httpResponse(404, "{}", {{"x-ratelimit-remaining", "0"}}), oneSuccess, std::nullopt,
         HostingError::notFound(), 1},
        {"403 rate limited", httpResponse(403, "{}", {{"x-ratelimit-remaining", "0"}}), oneSuccess, std::nullopt,
         HostingError::rateLimited(), 1},
        {"500 runs", httpResponse(500, "x"), oneSuccess, std::nullopt, HostingError::http(500, "x"), 1},
        {"empty body", httpResponse(200, ""), httpResponse(200, ""), core::CheckSummary{}, std::nullopt, 2},
    };
    for (const Case& c : cases) {
        auto fake = std::make_shared<FakeHostingHTTPClient>();
        fake->answer(c.runs);
        fake->answer(c.statuses);
        GitHubClientLive fresh(fake, "id", web, api);
        std::optional<core::CheckSummary> summary;
        const auto error = hostingErrorOf([&] { summary = fresh.checks("o", "r", "abc123", "t", {}); });
        EXPECT_EQ(summary, c.summary) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
        EXPECT_EQ(fake->requestCount(), c.requests) << c.name;
    }
}

TEST_F(ClientTest, RefsThatCouldLeaveThePathAreNotSent) {
    for (const char* ref : {"../../../user", "a/../b", "./x", "a//b", "/a", "a/", "", "a\nb"}) {
        EXPECT_EQ(client.checks("o", "r", ref, "t", {}), core::CheckSummary{}) << ref;
    }
    EXPECT_EQ(http->requestCount(), 0u);
    http->respondWith([](const HTTPRequest&, std::stop_token) { return httpResponse(200, "{}"); });
    client.checks("o", "r", "v1.2..3/#?%", "t", {});
    EXPECT_EQ(http->request(0).url, "https://api.test/repos/o/r/commits/v1.2..3/%23%3F%25/check-runs?per_page=100");
}

TEST_F(ClientTest, CreateRepositorySendsASortedJSONBody) {
    http->answer(201, R"({"full_name":"me/tool","clone_url":"https://h/me/tool.git","private":true,"fork":false})");
    EXPECT_EQ(client.createRepository("tool", "A \"small\" tool", true, "tok", {}),
              (core::GitHubRepository{"me/tool", true, "https://h/me/tool.git", false}));
    const HTTPRequest request = http->request(0);
    EXPECT_EQ(request.method, HTTPRequest::Method::post);
    EXPECT_EQ(request.url, "https://api.test/user/repos");
    EXPECT_EQ(request.headers.size(), 5u);
    EXPECT_EQ(request.headers.at("Content-Type"), "application/json");
    EXPECT_EQ(request.headers.at("Authorization"), "Bearer tok");
    EXPECT_EQ(std::string(core::byteView(request.body)),
              R"({"auto_init":false,"description":"A \"small\" tool","name":"tool","private":true})");
}

TEST_F(ClientTest, ATokenThatCouldBreakAHeaderIsNeverSent) {
    for (const std::string& token : {std::string("gho_1\r\nX-Injected: 1"), std::string("gho\n"),
                                    std::string("gho\r"), std::string("g\0o", 3), std::string("\x7f")}) {
        EXPECT_EQ(hostingErrorOf([&] { client.currentUser(token, {}); }), HostingError::unauthorized());
        EXPECT_EQ(hostingErrorOf([&] { client.repositories(token, {}); }), HostingError::unauthorized());
        EXPECT_EQ(hostingErrorOf([&] { client.pullRequests("o", "r", token, {}); }), HostingError::unauthorized());
        EXPECT_EQ(hostingErrorOf([&] { client.checks("o", "r", "main", token, {}); }), HostingError::unauthorized());
        EXPECT_EQ(hostingErrorOf([&] { client.createRepository("r", "", false, token, {}); }),
                  HostingError::unauthorized());
    }
    EXPECT_EQ(http->requestCount(), 0u);
}

TEST_F(ClientTest, TransportFailures) {
    http->fail(std::make_exception_ptr(std::runtime_error("connection refused")));
    http->fail(std::make_exception_ptr(HostingError::invalidResponse()));
    http->fail(std::make_exception_ptr(HostingError::network("timed out")));
    EXPECT_EQ(hostingErrorOf([&] { client.currentUser("t", {}); }), HostingError::network("connection refused"));
    EXPECT_EQ(hostingErrorOf([&] { client.requestDeviceCode({}); }), HostingError::invalidResponse());
    EXPECT_EQ(hostingErrorOf([&] { client.pollAccessToken("d", {}); }), HostingError::network("timed out"));
}

TEST_F(ClientTest, CancellationIsNotAHostingFailure) {
    std::stop_source stop;
    stop.request_stop();
    EXPECT_THROW(client.currentUser("t", stop.get_token()), core::CancellationError);
    EXPECT_EQ(http->requestCount(), 0u);

    // The transport gives up when the stop fires mid-request, as curl does.
    std::stop_source midway;
    http->step([&midway](const HTTPRequest&, std::stop_token) -> core::HTTPResponse {
        midway.request_stop();
        throw HostingError::network("Callback aborted");
    });
    EXPECT_THROW(client.pollAccessToken("d", midway.get_token()), core::CancellationError);

    // Between two pages.
    std::stop_source between;
    http->step([&between](const HTTPRequest&, std::stop_token) {
        between.request_stop();
        return httpResponse(200, repositoryRows(100));
    });
    EXPECT_THROW(client.repositories("t", between.get_token()), core::CancellationError);
    EXPECT_EQ(http->requestCount(), 2u);
}

TEST_F(ClientTest, CopiesShareOneCacheAndThreadsMayShareTheClient) {
    http->respondWith([](const HTTPRequest& request, std::stop_token) {
        const std::string& authorization = request.headers.at("Authorization");
        const std::string login = authorization.substr(7);
        const std::string tag = "\"" + login + "\"";
        const auto match = request.headers.find("If-None-Match");
        if (match != request.headers.end()) {
            // A conditional request always names the tag of its own token.
            if (match->second != tag) return httpResponse(500, "wrong tag " + match->second);
            return httpResponse(304);
        }
        return httpResponse(200, R"({"login":")" + login + R"("})", {{"etag", tag}});
    });
    GitHubClientLive copy = client;
    std::vector<std::thread> threads;
    std::atomic<int> wrong = 0;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&, t] {
            GitHubClientLive& use = t % 2 == 0 ? client : copy;
            for (int i = 0; i < 50; ++i) {
                const std::string token = "user" + std::to_string((t + i) % 5);
                if (use.currentUser(token, {}).login != token) ++wrong;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(client.etags().count(), 5u);
    EXPECT_EQ(&client.etags(), &copy.etags());
}

}  // namespace
}  // namespace tarv::hosting
