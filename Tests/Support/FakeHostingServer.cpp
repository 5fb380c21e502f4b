#include "Support/FakeHostingServer.hpp"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <charconv>
#include <ctime>
#include <functional>

namespace tarv::testing {

namespace {

using Response = LoopbackHTTPServer::Response;
using Json = nlohmann::json;

std::string percentDecoded(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size()) {
            int value = 0;
            const auto [end, error] = std::from_chars(text.data() + i + 1, text.data() + i + 3, value, 16);
            if (error == std::errc() && end == text.data() + i + 3) {
                out.push_back(static_cast<char>(value));
                i += 2;
                continue;
            }
        }
        out.push_back(text[i] == '+' ? ' ' : text[i]);
    }
    return out;
}

// "a=1&b=2" as a map, values percent-decoded.
std::map<std::string, std::string> fields(std::string_view text) {
    std::map<std::string, std::string> out;
    while (!text.empty()) {
        const std::size_t amp = text.find('&');
        const std::string_view pair = text.substr(0, amp);
        const std::size_t eq = pair.find('=');
        if (eq != std::string_view::npos) {
            out[std::string(pair.substr(0, eq))] = percentDecoded(pair.substr(eq + 1));
        }
        if (amp == std::string_view::npos) break;
        text.remove_prefix(amp + 1);
    }
    return out;
}

Response json(int status, const Json& body) { return Response::json(status, body.dump()); }

Response oauthError(const std::string& code) { return json(200, Json{{"error", code}}); }

Json repositoryJSON(const core::GitHubRepository& repository) {
    return Json{{"full_name", repository.fullName},
                {"clone_url", repository.cloneURL},
                {"private", repository.isPrivate},
                {"fork", repository.isFork},
                {"id", 1}};
}

std::string isoDate(std::int64_t seconds) {
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm parts{};
    gmtime_r(&time, &parts);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &parts);
    return buffer;
}

}  // namespace

FakeHostingServer::FakeHostingServer() {
    server_.fallback([this](const LoopbackHTTPServer::Request& request) { return handle(request); });
}

std::string FakeHostingServer::webBase() const { return server_.baseURL(); }

std::string FakeHostingServer::apiBase() const { return server_.baseURL() + "/api"; }

void FakeHostingServer::setClientID(std::string clientID) {
    std::lock_guard lock(mutex_);
    clientID_ = std::move(clientID);
}

void FakeHostingServer::setDeviceCode(std::string deviceCode, std::string userCode, std::int64_t interval,
                                      std::int64_t expiresIn, std::optional<std::string> verificationURL) {
    std::lock_guard lock(mutex_);
    deviceCode_ = std::move(deviceCode);
    userCode_ = std::move(userCode);
    interval_ = interval;
    expiresIn_ = expiresIn;
    verificationURL_ = std::move(verificationURL);
}

void FakeHostingServer::setTokenAnswers(std::vector<std::string> answers) {
    std::lock_guard lock(mutex_);
    tokenAnswers_ = std::move(answers);
    tokenPolls_ = 0;
}

void FakeHostingServer::addAccount(std::string token, std::string login, std::optional<std::string> name) {
    std::lock_guard lock(mutex_);
    accounts_[std::move(token)] = {std::move(login), std::move(name)};
}

void FakeHostingServer::setRepositories(std::vector<core::GitHubRepository> repositories) {
    std::lock_guard lock(mutex_);
    repositories_ = std::move(repositories);
}

void FakeHostingServer::setPullRequests(const std::string& fullName, std::vector<core::PullRequest> pullRequests) {
    std::lock_guard lock(mutex_);
    pullRequests_[fullName] = std::move(pullRequests);
}

void FakeHostingServer::setCheckRuns(const std::string& fullName, const std::string& ref, std::vector<CheckRun> runs) {
    std::lock_guard lock(mutex_);
    checkRuns_[fullName + "@" + ref] = std::move(runs);
}

void FakeHostingServer::setStatuses(const std::string& fullName, const std::string& ref,
                                    std::vector<std::string> states) {
    std::lock_guard lock(mutex_);
    statuses_[fullName + "@" + ref] = std::move(states);
}

void FakeHostingServer::override(const std::string& method, const std::string& path, Response response) {
    std::lock_guard lock(mutex_);
    overrides_[{method, path}] = std::move(response);
}

void FakeHostingServer::clearOverrides() {
    std::lock_guard lock(mutex_);
    overrides_.clear();
}

std::vector<std::string> FakeHostingServer::createdRepositories() const {
    std::lock_guard lock(mutex_);
    return created_;
}

std::size_t FakeHostingServer::notModifiedCount() const {
    std::lock_guard lock(mutex_);
    return notModified_;
}

Response FakeHostingServer::handle(const LoopbackHTTPServer::Request& request) {
    std::lock_guard lock(mutex_);
    if (const auto it = overrides_.find({request.method, request.path}); it != overrides_.end()) return it->second;
    if (request.path.starts_with("/login/")) return handleWeb(request);
    if (!request.path.starts_with("/api/")) return Response::text(404, "not found");

    const std::string authorization = request.header("Authorization").value_or("");
    const auto account = authorization.starts_with("Bearer ") ? accounts_.find(authorization.substr(7))
                                                              : accounts_.end();
    if (account == accounts_.end()) {
        return json(401, Json{{"message", "Bad credentials"}, {"documentation_url", "https://docs.example/rest"}});
    }
    return handleAPI(request, request.path.substr(4), account->second.first);
}

Response FakeHostingServer::handleWeb(const LoopbackHTTPServer::Request& request) {
    if (request.method != "POST") return Response::text(405, "method not allowed");
    const auto form = fields(request.body);
    const auto clientID = form.find("client_id");
    if (clientID == form.end() || clientID->second != clientID_) {
        return json(200, Json{{"error", "incorrect_client_credentials"},
                              {"error_description", "The client_id passed is incorrect."}});
    }
    if (request.path == "/login/device/code") {
        return json(200, Json{{"device_code", deviceCode_},
                              {"user_code", userCode_},
                              {"verification_uri", verificationURL_.value_or(webBase() + "/login/device")},
                              {"expires_in", expiresIn_},
                              {"interval", interval_}});
    }
    if (request.path == "/login/oauth/access_token") {
        const auto code = form.find("device_code");
        const auto grant = form.find("grant_type");
        if (code == form.end() || code->second != deviceCode_) return oauthError("incorrect_device_code");
        if (grant == form.end() || grant->second != "urn:ietf:params:oauth:grant-type:device_code") {
            return oauthError("unsupported_grant_type");
        }
        if (tokenAnswers_.empty()) return oauthError("authorization_pending");
        const std::string& answer = tokenAnswers_[std::min(tokenPolls_, tokenAnswers_.size() - 1)];
        ++tokenPolls_;
        if (answer.starts_with("token:")) {
            return json(200, Json{{"access_token", answer.substr(6)}, {"token_type", "bearer"}, {"scope", "repo"}});
        }
        if (answer == "slow_down") return json(200, Json{{"error", answer}, {"interval", interval_ + 5}});
        return oauthError(answer);
    }
    return Response::text(404, "not found");
}

Response FakeHostingServer::handleAPI(const LoopbackHTTPServer::Request& request, const std::string& path,
                                      const std::string& login) {
    const auto query = fields(request.query);
    if (request.method == "GET" && path == "/user") {
        const auto& account = std::find_if(accounts_.begin(), accounts_.end(),
                                           [&](const auto& entry) { return entry.second.first == login; })
                                  ->second;
        Json body{{"login", login}, {"id", 7}};
        body["name"] = account.second ? Json(*account.second) : Json(nullptr);
        return tagged(request, body.dump());
    }
    if (path == "/user/repos" && request.method == "GET") {
        const std::size_t perPage = query.contains("per_page") ? std::stoul(query.at("per_page")) : 30;
        const std::size_t page = query.contains("page") ? std::stoul(query.at("page")) : 1;
        Json rows = Json::array();
        for (std::size_t i = (page - 1) * perPage; i < repositories_.size() && i < page * perPage; ++i) {
            rows.push_back(repositoryJSON(repositories_[i]));
        }
        return tagged(request, rows.dump());
    }
    if (path == "/user/repos" && request.method == "POST") {
        const Json body = Json::parse(request.body, nullptr, false);
        if (!body.is_object() || !body.contains("name") || !body["name"].is_string()) {
            return json(400, Json{{"message", "Problems parsing JSON"}});
        }
        const std::string fullName = login + "/" + body["name"].get<std::string>();
        if (std::find(created_.begin(), created_.end(), fullName) != created_.end()) {
            return json(422, Json{{"message", "Repository creation failed."},
                                  {"errors", Json::array({Json{{"resource", "Repository"},
                                                               {"code", "custom"},
                                                               {"field", "name"},
                                                               {"message", "name already exists on this account"}}})}});
        }
        created_.push_back(fullName);
        const bool isPrivate = body.value("private", false);
        return json(201, repositoryJSON(core::GitHubRepository{fullName, isPrivate,
                                                               webBase() + "/" + fullName + ".git", false}));
    }
    if (request.method != "GET" || !path.starts_with("/repos/")) return json(404, Json{{"message", "Not Found"}});

    // /repos/O/N/pulls or /repos/O/N/commits/REF/(check-runs|status)
    std::string rest = path.substr(7);
    const std::size_t ownerEnd = rest.find('/');
    const std::size_t nameEnd = ownerEnd == std::string::npos ? std::string::npos : rest.find('/', ownerEnd + 1);
    if (nameEnd == std::string::npos) return json(404, Json{{"message", "Not Found"}});
    const std::string fullName = rest.substr(0, nameEnd);
    const std::string tail = rest.substr(nameEnd);
    if (tail == "/pulls") {
        const auto it = pullRequests_.find(fullName);
        if (it == pullRequests_.end()) return json(404, Json{{"message", "Not Found"}});
        const std::string name = fullName.substr(ownerEnd + 1);
        Json rows = Json::array();
        for (const core::PullRequest& pull : it->second) {
            const std::string headRepository = pull.isFromFork ? "fork-owner/" + name : fullName;
            rows.push_back(Json{{"number", pull.number},
                                {"title", pull.title},
                                {"draft", pull.isDraft},
                                {"updated_at", isoDate(pull.updatedAt)},
                                {"user", Json{{"login", pull.author}}},
                                {"head", Json{{"ref", pull.headBranch},
                                              {"sha", pull.headSHA},
                                              {"repo", Json{{"full_name", headRepository}}}}},
                                {"base", Json{{"ref", "main"}, {"repo", Json{{"full_name", fullName}}}}}});
        }
        return tagged(request, rows.dump());
    }
    const std::string commits = "/commits/";
    if (!tail.starts_with(commits)) return json(404, Json{{"message", "Not Found"}});
    std::string refAndKind = tail.substr(commits.size());
    const bool runs = refAndKind.ends_with("/check-runs");
    const bool status = refAndKind.ends_with("/status");
    if (!runs && !status) return json(404, Json{{"message", "Not Found"}});
    const std::string ref =
        percentDecoded(refAndKind.substr(0, refAndKind.size() - (runs ? std::string("/check-runs").size() : 7)));
    const std::string key = fullName + "@" + ref;
    if (runs) {
        const auto it = checkRuns_.find(key);
        if (it == checkRuns_.end()) return json(404, Json{{"message", "No commit found for SHA: " + ref}});
        Json list = Json::array();
        for (const CheckRun& run : it->second) {
            list.push_back(Json{{"status", run.status},
                                {"conclusion", run.conclusion ? Json(*run.conclusion) : Json(nullptr)}});
        }
        return tagged(request, Json{{"total_count", list.size()}, {"check_runs", list}}.dump());
    }
    const auto it = statuses_.find(key);
    if (it == statuses_.end()) return json(404, Json{{"message", "No commit found for SHA: " + ref}});
    Json list = Json::array();
    for (const std::string& state : it->second) list.push_back(Json{{"state", state}, {"context", "ci"}});
    return tagged(request, Json{{"state", "pending"}, {"statuses", list}}.dump());
}

Response FakeHostingServer::tagged(const LoopbackHTTPServer::Request& request, std::string body) {
    const std::string etag = "\"" + std::to_string(std::hash<std::string>{}(body)) + "\"";
    if (request.header("If-None-Match") == etag) {
        ++notModified_;
        Response response;
        response.status = 304;
        response.headers = {{"ETag", etag}};
        return response;
    }
    return Response::json(200, std::move(body)).with("ETag", etag);
}

}  // namespace tarv::testing
