#include "TarvHosting/GitHub/GitHubJSON.hpp"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "Support/FakeHostingHTTPClient.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvHostingTests/HostingErrors.hpp"

namespace tarv::hosting {
namespace {

using core::HostingError;
using test::hostingErrorOf;
using testing::httpResponse;

std::optional<HostingError> checkError(const core::HTTPResponse& response) {
    return hostingErrorOf([&] { GitHubJSON::check(response); });
}

TEST(GitHubJSONCheck, MapsStatusesToErrors) {
    const std::string html = "<html><body>Service down</body></html>";
    struct Case {
        const char* name;
        core::HTTPResponse response;
        std::optional<HostingError> expected;
    };
    const Case cases[] = {
        {"200", httpResponse(200, "{}"), std::nullopt},
        {"299", httpResponse(299), std::nullopt},
        {"401", httpResponse(401, R"({"message":"Bad credentials"})"), HostingError::unauthorized()},
        {"403 with message", httpResponse(403, R"({"message":"Resource not accessible by integration"})"),
         HostingError::forbidden("Resource not accessible by integration")},
        {"403 not JSON", httpResponse(403, "<html>no</html>"), HostingError::forbidden("")},
        {"403 message not a string", httpResponse(403, R"({"message":5})"), HostingError::forbidden("")},
        {"403 rate limit spent", httpResponse(403, R"({"message":"API rate limit exceeded"})",
                                              {{"x-ratelimit-remaining", "0"}}),
         HostingError::rateLimited()},
        {"403 rate limit left", httpResponse(403, R"({"message":"nope"})", {{"x-ratelimit-remaining", "10"}}),
         HostingError::forbidden("nope")},
        {"404", httpResponse(404, R"({"message":"Not Found"})"), HostingError::notFound()},
        {"429", httpResponse(429, "slow"), HostingError::rateLimited()},
        {"304", httpResponse(304), HostingError::http(304, "")},
        {"422 with errors",
         httpResponse(422, R"({"message":"M","errors":[{"message":"E1"},{"code":"x"},{"message":"E2"}]})"),
         HostingError::http(422, "M: E1: E2")},
        {"422 errors not all objects", httpResponse(422, R"({"message":"M","errors":[{"message":"E1"},"E2"]})"),
         HostingError::http(422, "M")},
        {"422 object without message", httpResponse(422, R"({"errors":[{"message":"E1"}]})"),
         HostingError::http(422, R"({"errors":[{"message":"E1"}]}: E1)")},
        {"500 HTML", httpResponse(500, html), HostingError::http(500, html)},
        {"100", httpResponse(100), HostingError::http(100, "")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(checkError(c.response), c.expected) << c.name;
    }
}

TEST(GitHubJSONUser, DecodesLoginAndOptionalName) {
    EXPECT_EQ(GitHubJSON::user(httpResponse(200, R"({"login":"octo","name":"Octo Cat","id":1})")),
              (core::GitHubUser{"octo", "Octo Cat"}));
    EXPECT_EQ(GitHubJSON::user(httpResponse(200, R"({"login":"octo","name":null})")),
              (core::GitHubUser{"octo", std::nullopt}));
    EXPECT_EQ(GitHubJSON::user(httpResponse(200, R"({"login":"octo","name":42})")),
              (core::GitHubUser{"octo", std::nullopt}));
    for (const char* body : {R"({"name":"x"})", R"({"login":7})", "[]", "", "not json", R"({"login":"a")",
                             R"({"login":""})", R"({"login":"octo\nx"})"}) {
        EXPECT_EQ(hostingErrorOf([&] { GitHubJSON::user(httpResponse(200, body)); }), HostingError::invalidResponse())
            << body;
    }
    EXPECT_EQ(hostingErrorOf([] { GitHubJSON::user(httpResponse(401, R"({"login":"octo"})")); }),
              HostingError::unauthorized());
}

std::string pullJSON(const std::string& extra) {
    return R"({"number":7,"title":"Fix","head":{"ref":"fix","sha":"abc","repo":{"full_name":"o/r"}},)"
           R"("base":{"repo":{"full_name":"o/r"}},"user":{"login":"ana"},"draft":true,)"
           R"("updated_at":"2024-05-01T12:00:00Z")" +
           extra + "}";
}

TEST(GitHubJSONPullRequests, DecodesEveryField) {
    const auto pulls = GitHubJSON::pullRequests(httpResponse(200, "[" + pullJSON("") + "]"));
    ASSERT_EQ(pulls.size(), 1u);
    EXPECT_EQ(pulls[0], (core::PullRequest{7, "Fix", "ana", "fix", false, true, 1714564800, "abc"}));
}

TEST(GitHubJSONPullRequests, DefaultsAndDroppedRows) {
    const std::string body = "[" +
                             // no title: dropped
                             std::string(R"({"number":1,"head":{"ref":"a"}},)") +
                             // number not an integer: dropped
                             R"({"number":2.0,"title":"t","head":{"ref":"a"}},)" +
                             // head not an object: dropped
                             R"({"number":3,"title":"t","head":"a"},)" +
                             // head branch with a line feed: dropped
                             R"({"number":4,"title":"t","head":{"ref":"a\nb"}},)" +
                             // minimal: defaults
                             R"({"number":5,"title":"t","head":{"ref":"b"}},)" +
                             // number beyond int64: dropped
                             R"({"number":9223372036854775808,"title":"t","head":{"ref":"a"}})" + "]";
    const auto pulls = GitHubJSON::pullRequests(httpResponse(200, body));
    ASSERT_EQ(pulls.size(), 1u);
    EXPECT_EQ(pulls[0], (core::PullRequest{5, "t", "?", "b", true, false, 0, ""}));
}

TEST(GitHubJSONPullRequests, ForkDetection) {
    auto fork = [](const std::string& headRepo, const std::string& baseRepo) {
        const std::string body = R"([{"number":1,"title":"t","head":{"ref":"x")" + headRepo + R"(},"base":{)" +
                                 baseRepo + "}}]";
        return GitHubJSON::pullRequests(httpResponse(200, body)).at(0).isFromFork;
    };
    EXPECT_FALSE(fork(R"(,"repo":{"full_name":"o/r"})", R"("repo":{"full_name":"o/r"})"));
    EXPECT_TRUE(fork(R"(,"repo":{"full_name":"O/r"})", R"("repo":{"full_name":"o/r"})"));
    EXPECT_TRUE(fork(R"(,"repo":null)", R"("repo":{"full_name":"o/r"})"));
    EXPECT_TRUE(fork("", R"("repo":{"full_name":"o/r"})"));
    EXPECT_TRUE(fork(R"(,"repo":{"full_name":"o/r"})", R"("ref":"main")"));
}

TEST(GitHubJSONPullRequests, ShapeErrorsFailWhole) {
    for (const char* body : {R"([{"number":1,"title":"t","head":{"ref":"a"}}, 5])", R"({"number":1})", "",
                             "[", "null"}) {
        EXPECT_EQ(hostingErrorOf([&] { GitHubJSON::pullRequests(httpResponse(200, body)); }),
                  HostingError::invalidResponse())
            << body;
    }
    EXPECT_TRUE(GitHubJSON::pullRequests(httpResponse(200, "[]")).empty());
}

TEST(GitHubJSONDates, InternetDateTimes) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> seconds;
    };
    const Case cases[] = {
        {"1970-01-01T00:00:00Z", 0},
        {"2024-05-01T12:00:00Z", 1714564800},
        {"2024-05-01T14:00:00+02:00", 1714564800},
        {"2024-05-01T10:30:00-01:30", 1714564800},
        {"2024-02-29T00:00:00Z", 1709164800},
        {"1969-12-31T23:59:59Z", -1},
        {"2024-05-01T12:00:00.123Z", std::nullopt},
        {"2023-02-29T00:00:00Z", std::nullopt},
        {"2024-13-01T00:00:00Z", std::nullopt},
        {"2024-05-01T24:00:00Z", std::nullopt},
        {"2024-05-01 12:00:00Z", std::nullopt},
        {"2024-05-01T12:00:00", std::nullopt},
        {"2024-05-01T12:00:00+0200", std::nullopt},
        {"2024-05-01T12:00:00z", std::nullopt},
        {"", std::nullopt},
        {"+024-05-01T12:00:00Z", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(GitHubJSON::internetDateSeconds(c.text), c.seconds) << c.text;

    const auto pulls = GitHubJSON::pullRequests(httpResponse(
        200, R"([{"number":1,"title":"t","head":{"ref":"a"},"updated_at":"2024-05-01T12:00:00.5Z"}])"));
    EXPECT_EQ(pulls.at(0).updatedAt, 0);
}

TEST(GitHubJSONRepositories, DecodesAndDropsRows) {
    const std::string body =
        R"([{"full_name":"o/a","clone_url":"https://h/o/a.git","private":true,"fork":false},)"
        R"({"full_name":"o/b","clone_url":"https://h/o/b.git","private":1,"fork":"yes"},)"
        R"({"full_name":"o/c"},)"
        R"({"full_name":"o/d","clone_url":"https://h/o/d.git\u0000--upload-pack=x"},)"
        R"({"full_name":"o/e\r\n","clone_url":"https://h/o/e.git"}])";
    const auto repositories = GitHubJSON::repositories(httpResponse(200, body));
    ASSERT_EQ(repositories.size(), 2u);
    EXPECT_EQ(repositories[0], (core::GitHubRepository{"o/a", true, "https://h/o/a.git", false}));
    EXPECT_EQ(repositories[1], (core::GitHubRepository{"o/b", false, "https://h/o/b.git", false}));

    EXPECT_THROW(GitHubJSON::repositories(httpResponse(200, R"([{"full_name":"o/a"},[]])")), HostingError);
    EXPECT_THROW(GitHubJSON::repositories(httpResponse(200, R"({"items":[]})")), HostingError);
}

TEST(GitHubJSONRepositories, CreatedRepositoryNeedsARepositoryObject) {
    EXPECT_EQ(GitHubJSON::createdRepository(
                  httpResponse(201, R"({"full_name":"me/new","clone_url":"https://h/me/new.git","private":true})")),
              (core::GitHubRepository{"me/new", true, "https://h/me/new.git", false}));
    for (const char* body : {R"({"full_name":"me/new"})", "[]", "", "{"}) {
        EXPECT_EQ(hostingErrorOf([&] { GitHubJSON::createdRepository(httpResponse(201, body)); }),
                  HostingError::invalidResponse())
            << body;
    }
}

TEST(GitHubJSONChecks, CountsRunsByStatusAndConclusion) {
    const std::string body = R"({"total_count":9,"check_runs":[)"
                             R"({"status":"completed","conclusion":"success"},)"
                             R"({"status":"completed","conclusion":"neutral"},)"
                             R"({"status":"completed","conclusion":"skipped"},)"
                             R"({"status":"completed","conclusion":"failure"},)"
                             R"({"status":"completed","conclusion":"cancelled"},)"
                             R"({"status":"completed","conclusion":"timed_out"},)"
                             R"({"status":"completed","conclusion":"action_required"},)"
                             R"({"status":"completed","conclusion":"startup_failure"},)"
                             R"({"status":"completed","conclusion":"stale"},)"
                             R"({"status":"completed","conclusion":null},)"
                             R"({"status":"completed","conclusion":"mystery"},)"
                             R"({"status":"completed"},)"
                             R"({"status":"waiting","conclusion":"success"},)"
                             R"({"status":"in_progress"},)"
                             R"({"conclusion":"success"}]})";
    EXPECT_EQ(GitHubJSON::checkRuns(httpResponse(200, body)), (core::CheckSummary{3, 6, 6}));
    for (const char* malformed : {"", "[]", R"({"check_runs":5})", R"({"check_runs":[{"status":"x"},1]})",
                                  R"({"other":[]})"}) {
        EXPECT_EQ(GitHubJSON::checkRuns(httpResponse(200, malformed)), core::CheckSummary{}) << malformed;
    }
}

TEST(GitHubJSONChecks, CountsCommitStatuses) {
    const std::string body = R"({"state":"failure","statuses":[{"state":"success"},{"state":"failure"},)"
                             R"({"state":"error"},{"state":"pending"},{"context":"x"},{"state":7}]})";
    EXPECT_EQ(GitHubJSON::commitStatuses(httpResponse(200, body)), (core::CheckSummary{1, 2, 3}));
    EXPECT_EQ(GitHubJSON::commitStatuses(httpResponse(200, "")), core::CheckSummary{});
    EXPECT_EQ(GitHubJSON::commitStatuses(httpResponse(200, R"({"statuses":[1]})")), core::CheckSummary{});
}

TEST(GitHubJSONWriting, CompactSortedKeys) {
    const auto bytes = GitHubJSON::encode({{"name", std::string("tarv")},
                                           {"private", true},
                                           {"description", std::string("a \"tool\" / ñ")},
                                           {"auto_init", false},
                                           {"count", std::int64_t{3}}});
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              R"({"auto_init":false,"count":3,"description":"a \"tool\" / ñ","name":"tarv","private":true})");
    EXPECT_TRUE(GitHubJSON::encode({{"name", std::string("\xff")}}).empty());
}

TEST(GitHubJSONWriting, PathEncoding) {
    EXPECT_EQ(GitHubJSON::pathEncoded("feature/x-1.2_~"), "feature/x-1.2_~");
    EXPECT_EQ(GitHubJSON::pathEncoded("my branch"), "my%20branch");
    EXPECT_EQ(GitHubJSON::pathEncoded("a?b#c%d"), "a%3Fb%23c%25d");
    EXPECT_EQ(GitHubJSON::pathEncoded("ñ"), "%C3%B1");
    EXPECT_EQ(GitHubJSON::pathEncoded("a\r\nb"), "a%0D%0Ab");
}

TEST(LooseJSONLimits, HostileBodiesAreNotJSON) {
    const std::string deep(LooseJSON::maxDepth + 1, '[');
    const std::string deepClosed = deep + std::string(LooseJSON::maxDepth + 1, ']');
    const std::string shallow = std::string(LooseJSON::maxDepth, '[') + std::string(LooseJSON::maxDepth, ']');
    EXPECT_FALSE(LooseJSON::parse(deepClosed));
    EXPECT_TRUE(LooseJSON::parse(shallow));
    // Brackets inside strings do not count.
    EXPECT_TRUE(LooseJSON::parse(R"({"a":")" + deep + R"(\""})"));
    EXPECT_FALSE(LooseJSON::parse(R"({"a":"\xff"})"));
    EXPECT_FALSE(LooseJSON::parse("[1e400]"));
    EXPECT_FALSE(LooseJSON::parse(std::string(LooseJSON::maxBytes + 1, ' ')));
    EXPECT_TRUE(LooseJSON::isWithinLimits(std::string(LooseJSON::maxBytes, ' ')));

    const auto numbers = LooseJSON::parse(
        R"({"big":9223372036854775807,"over":9223372036854775808,"neg":-9223372036854775808,)"
        R"("float":3.0,"exp":1e3,"bool":true,"null":null,"str":"1"})");
    ASSERT_TRUE(numbers);
    EXPECT_EQ(numbers->integer("big"), INT64_MAX);
    EXPECT_EQ(numbers->integer("over"), std::nullopt);
    EXPECT_EQ(numbers->integer("neg"), INT64_MIN);
    EXPECT_EQ(numbers->integer("float"), std::nullopt);
    EXPECT_EQ(numbers->integer("exp"), std::nullopt);
    EXPECT_EQ(numbers->integer("bool"), std::nullopt);
    EXPECT_EQ(numbers->boolean("bool"), true);
    EXPECT_EQ(numbers->boolean("big"), std::nullopt);
    EXPECT_EQ(numbers->string("null"), std::nullopt);
    EXPECT_EQ(numbers->string("str"), "1");
    EXPECT_EQ(numbers->integer("missing"), std::nullopt);
}

TEST(LooseJSONLimits, DeepBodyInADecoderIsInvalidResponse) {
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_THROW(GitHubJSON::pullRequests(httpResponse(200, deep)), HostingError);
    EXPECT_EQ(GitHubJSON::checkRuns(httpResponse(200, R"({"check_runs":)" + deep + "}")), core::CheckSummary{});
}

}  // namespace
}  // namespace tarv::hosting
