#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Support/LoopbackHTTPServer.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"
#include "TarvCore/Models/PullRequest.hpp"

namespace tarv::testing {

// A small stand-in for the hosting service on 127.0.0.1, for running the
// whole hosting client over a real HTTP client. The web endpoints (device
// flow) are at `webBase()`, the REST interface under `apiBase()`:
//
//   POST /login/device/code, POST /login/oauth/access_token (form bodies;
//     the client id must match), answering from a script of poll answers;
//   GET /user, /user/repos (pages by "page" and "per_page"),
//     /repos/O/N/pulls, /repos/O/N/commits/REF/check-runs and .../status;
//   POST /user/repos (a JSON body; 422 when the name is taken).
//
// REST requests need "Authorization: Bearer T" with a known token (else
// 401). Successful GET answers carry an entity tag and answer 304 to a
// matching "If-None-Match". An override answers a method and path before
// any of this. Requests are recorded by the underlying server.
class FakeHostingServer {
public:
    struct CheckRun {
        std::string status;                     // "completed", "in_progress", ...
        std::optional<std::string> conclusion;  // null when absent
    };

    FakeHostingServer();

    std::string webBase() const;
    std::string apiBase() const;
    LoopbackHTTPServer& http() { return server_; }

    void setClientID(std::string clientID);
    // The device code's fields; the verification address defaults to
    // webBase() + "/login/device".
    void setDeviceCode(std::string deviceCode, std::string userCode, std::int64_t interval, std::int64_t expiresIn,
                       std::optional<std::string> verificationURL = std::nullopt);
    // Answers to token polls, in order, the last one repeating: an OAuth
    // error code ("authorization_pending", "slow_down", "access_denied",
    // "expired_token", ...) or "token:" followed by the access token.
    void setTokenAnswers(std::vector<std::string> answers);

    void addAccount(std::string token, std::string login, std::optional<std::string> name);
    void setRepositories(std::vector<core::GitHubRepository> repositories);
    // Pull requests of "owner/name"; those marked isFromFork come from a
    // repository "fork-owner/name".
    void setPullRequests(const std::string& fullName, std::vector<core::PullRequest> pullRequests);
    void setCheckRuns(const std::string& fullName, const std::string& ref, std::vector<CheckRun> runs);
    void setStatuses(const std::string& fullName, const std::string& ref, std::vector<std::string> states);
    // Answers `method` and `path` (as sent, without the query) with this
    // response until cleared.
    void override(const std::string& method, const std::string& path, LoopbackHTTPServer::Response response);
    void clearOverrides();

    // Repositories created through POST /user/repos, by full name.
    std::vector<std::string> createdRepositories() const;
    // How many REST answers were 304.
    std::size_t notModifiedCount() const;

private:
    LoopbackHTTPServer::Response handle(const LoopbackHTTPServer::Request& request);
    LoopbackHTTPServer::Response handleWeb(const LoopbackHTTPServer::Request& request);
    LoopbackHTTPServer::Response handleAPI(const LoopbackHTTPServer::Request& request, const std::string& path,
                                           const std::string& login);
    // A 200 JSON answer with an entity tag, or 304 when the request has it.
    LoopbackHTTPServer::Response tagged(const LoopbackHTTPServer::Request& request, std::string body);

    LoopbackHTTPServer server_;
    mutable std::mutex mutex_;
    std::string clientID_ = "test-client-id";
    std::string deviceCode_ = "device-123";
    std::string userCode_ = "WDJB-MJHT";
    std::int64_t interval_ = 1;
    std::int64_t expiresIn_ = 900;
    std::optional<std::string> verificationURL_;
    std::vector<std::string> tokenAnswers_ = {"authorization_pending", "token:gho_fake_token"};
    std::size_t tokenPolls_ = 0;
    std::map<std::string, std::pair<std::string, std::optional<std::string>>> accounts_;
    std::vector<core::GitHubRepository> repositories_;
    std::map<std::string, std::vector<core::PullRequest>> pullRequests_;
    std::map<std::string, std::vector<CheckRun>> checkRuns_;
    std::map<std::string, std::vector<std::string>> statuses_;
    std::map<std::pair<std::string, std::string>, LoopbackHTTPServer::Response> overrides_;
    std::vector<std::string> created_;
    std::size_t notModified_ = 0;
};

}  // namespace tarv::testing
