#include "TarvHosting/GitHub/GitHubClientLive.hpp"

#include <algorithm>
#include <exception>

#include "TarvCore/Concurrency/CancellationError.hpp"
#include "TarvCore/Errors/HostingError.hpp"
#include "TarvHosting/GitHub/ControlCharacters.hpp"
#include "TarvHosting/GitHub/GitHubJSON.hpp"
#include "TarvHosting/GitHub/LooseJSON.hpp"

namespace tarv::hosting {

using core::HostingError;
using core::HTTPRequest;
using core::HTTPResponse;

namespace {

// A ref placed in a path: something to encode, but no segment that a URL
// parser would read as a step up or that a ref cannot have.
bool isUsableRef(std::string_view ref) {
    if (ref.empty() || hasControlCharacter(ref)) return false;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = ref.find('/', start);
        const std::string_view segment =
            ref.substr(start, slash == std::string_view::npos ? std::string_view::npos : slash - start);
        if (segment.empty() || segment == "." || segment == "..") return false;
        if (slash == std::string_view::npos) return true;
        start = slash + 1;
    }
}

// An entity tag goes back in a header: it must not be able to break it.
bool isUsableETag(std::string_view etag) { return !etag.empty() && !hasControlCharacter(etag); }

}  // namespace

GitHubClientLive::GitHubClientLive(std::shared_ptr<core::HTTPClient> http, std::string clientID, std::string webBase,
                                   std::string apiBase)
    : http_(std::move(http)),
      flow_{std::move(clientID), std::move(webBase)},
      apiBase_(std::move(apiBase)),
      etags_(std::make_shared<ETagCache>()) {}

bool GitHubClientLive::isRepositoryNamePart(std::string_view text) {
    if (text.empty() || text.size() > 255 || text == "." || text == "..") return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
               c == '.';
    });
}

HTTPRequest GitHubClientLive::api(const std::string& path, const std::string& token) const {
    // A token that could end the header line would let the answer of the
    // sign-in (or a tampered stored session) write headers of its own.
    if (hasControlCharacter(token)) throw HostingError::unauthorized();
    HTTPRequest request;
    request.method = HTTPRequest::Method::get;
    request.url = apiBase_ + path;
    request.headers = {{"Accept", "application/vnd.github+json"},
                       {"Authorization", "Bearer " + token},
                       {"X-GitHub-Api-Version", "2022-11-28"},
                       {"User-Agent", "Tarv"}};
    return request;
}

HTTPResponse GitHubClientLive::send(HTTPRequest request, std::stop_token stop) {
    const bool cacheable = request.method == HTTPRequest::Method::get && request.url.starts_with(apiBase_);
    if (!cacheable) return transport(request, stop);

    const auto authorization = request.headers.find("Authorization");
    const std::string key =
        request.url + "\n" + (authorization == request.headers.end() ? std::string() : authorization->second);
    if (auto etag = etags_->etag(key)) request.headers["If-None-Match"] = std::move(*etag);

    HTTPResponse response = transport(request, stop);
    if (response.status == 200) {
        const auto etag = response.headers.find("etag");
        // An answer too large to decode is not worth keeping.
        if (etag != response.headers.end() && isUsableETag(etag->second) &&
            response.body.size() <= LooseJSON::maxBytes) {
            etags_->store(response, etag->second, key);
            return response;
        }
    } else if (response.status == 304) {
        if (auto cached = etags_->response(key)) return std::move(*cached);
        return response;
    }
    etags_->remove(key);
    return response;
}

HTTPResponse GitHubClientLive::transport(const HTTPRequest& request, std::stop_token stop) {
    if (stop.stop_requested()) throw core::CancellationError();
    try {
        return http_->send(request, stop);
    } catch (const core::CancellationError&) {
        throw;
    } catch (const HostingError&) {
        if (stop.stop_requested()) throw core::CancellationError();
        throw;
    } catch (const std::exception& error) {
        if (stop.stop_requested()) throw core::CancellationError();
        throw HostingError::network(error.what());
    } catch (...) {
        if (stop.stop_requested()) throw core::CancellationError();
        throw HostingError::network("unknown transport failure");
    }
}

core::DeviceCode GitHubClientLive::requestDeviceCode(std::stop_token stop) {
    return DeviceFlow::parseCode(send(flow_.codeRequest(), stop));
}

core::DeviceTokenStatus GitHubClientLive::pollAccessToken(const std::string& deviceCode, std::stop_token stop) {
    return DeviceFlow::parseToken(send(flow_.tokenRequest(deviceCode), stop));
}

core::GitHubUser GitHubClientLive::currentUser(const std::string& token, std::stop_token stop) {
    return GitHubJSON::user(send(api("/user", token), stop));
}

std::vector<core::PullRequest> GitHubClientLive::pullRequests(const std::string& owner, const std::string& name,
                                                              const std::string& token, std::stop_token stop) {
    if (!isRepositoryNamePart(owner) || !isRepositoryNamePart(name)) throw HostingError::notFound();
    const std::string path =
        "/repos/" + owner + "/" + name + "/pulls?state=open&sort=updated&direction=desc&per_page=100";
    return GitHubJSON::pullRequests(send(api(path, token), stop));
}

std::vector<core::GitHubRepository> GitHubClientLive::repositories(const std::string& token, std::stop_token stop) {
    std::vector<core::GitHubRepository> result;
    for (int page = 1; page <= maxRepositoryPages; ++page) {
        const std::string path = "/user/repos?sort=pushed&per_page=100&page=" + std::to_string(page);
        auto rows = GitHubJSON::repositories(send(api(path, token), stop));
        const std::size_t count = rows.size();
        std::move(rows.begin(), rows.end(), std::back_inserter(result));
        if (count < 100) break;
    }
    return result;
}

std::optional<HTTPResponse> GitHubClientLive::optional(const std::string& path, const std::string& token,
                                                       std::stop_token stop) {
    HTTPResponse response = send(api(path, token), stop);
    if (response.status == 403 || response.status == 404 || response.status == 422) {
        const auto remaining = response.headers.find("x-ratelimit-remaining");
        if (remaining != response.headers.end() && remaining->second == "0") GitHubJSON::check(response);
        return std::nullopt;
    }
    GitHubJSON::check(response);
    return response;
}

core::CheckSummary GitHubClientLive::checks(const std::string& owner, const std::string& name, const std::string& ref,
                                            const std::string& token, std::stop_token stop) {
    // What the service answers for a commit it cannot find: no checks.
    if (!isRepositoryNamePart(owner) || !isRepositoryNamePart(name) || !isUsableRef(ref)) return {};
    const std::string base = "/repos/" + owner + "/" + name + "/commits/" + GitHubJSON::pathEncoded(ref);
    const auto runs = optional(base + "/check-runs?per_page=100", token, stop);
    const core::CheckSummary runSummary = runs ? GitHubJSON::checkRuns(*runs) : core::CheckSummary{};
    const auto statuses = optional(base + "/status", token, stop);
    const core::CheckSummary statusSummary = statuses ? GitHubJSON::commitStatuses(*statuses) : core::CheckSummary{};
    return runSummary + statusSummary;
}

core::GitHubRepository GitHubClientLive::createRepository(const std::string& name, const std::string& description,
                                                          bool isPrivate, const std::string& token,
                                                          std::stop_token stop) {
    HTTPRequest request = api("/user/repos", token);
    request.method = HTTPRequest::Method::post;
    request.headers["Content-Type"] = "application/json";
    request.body = GitHubJSON::encode({{"name", name},
                                       {"description", description},
                                       {"private", isPrivate},
                                       {"auto_init", false}});
    return GitHubJSON::createdRepository(send(std::move(request), stop));
}

}  // namespace tarv::hosting
