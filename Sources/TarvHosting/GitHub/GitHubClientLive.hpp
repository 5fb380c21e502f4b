#pragma once

#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Ports/GitHubClient.hpp"
#include "TarvCore/Ports/HTTPClient.hpp"
#include "TarvHosting/GitHub/ETagCache.hpp"
#include "TarvHosting/OAuth/DeviceFlow.hpp"

namespace tarv::hosting {

// The live hosting client: each port operation becomes one or more requests
// to the service's REST interface (under `apiBase`) or its OAuth endpoints
// (under the web base), sent through the HTTP port. GET requests to the API
// are made conditional through an ETagCache shared by the copies of one
// client. Every failure is a core::HostingError, except that a call whose
// stop token fires ends with core::CancellationError.
//
// Nothing from outside is put into a URL or a header unchecked: a token
// holding a control character is never sent (the call fails as
// `unauthorized`, the session being unusable); owner and repository names
// must be names the service could have (ASCII letters, digits, "-", "_",
// "."; not "." or ".."), otherwise no request is made and the call answers
// as the service does for a repository that does not exist; a ref is
// percent-encoded and one with an empty, "." or ".." segment is refused the
// same way; an entity tag with a control character is not kept.
class GitHubClientLive final : public core::GitHubClient {
public:
    static constexpr std::string_view defaultWebBase = "https://github.com";
    static constexpr std::string_view defaultAPIBase = "https://api.github.com";
    // Pages of the repository list fetched at most, of 100 rows each.
    static constexpr int maxRepositoryPages = 5;

    GitHubClientLive(std::shared_ptr<core::HTTPClient> http, std::string clientID,
                     std::string webBase = std::string(defaultWebBase),
                     std::string apiBase = std::string(defaultAPIBase));

    core::DeviceCode requestDeviceCode(std::stop_token stop) override;
    core::DeviceTokenStatus pollAccessToken(const std::string& deviceCode, std::stop_token stop) override;
    core::GitHubUser currentUser(const std::string& token, std::stop_token stop) override;
    std::vector<core::PullRequest> pullRequests(const std::string& owner, const std::string& name,
                                                const std::string& token, std::stop_token stop) override;
    std::vector<core::GitHubRepository> repositories(const std::string& token, std::stop_token stop) override;
    core::CheckSummary checks(const std::string& owner, const std::string& name, const std::string& ref,
                              const std::string& token, std::stop_token stop) override;
    core::GitHubRepository createRepository(const std::string& name, const std::string& description, bool isPrivate,
                                            const std::string& token, std::stop_token stop) override;

    const DeviceFlow& flow() const { return flow_; }
    const std::string& apiBase() const { return apiBase_; }
    const ETagCache& etags() const { return *etags_; }

    // Whether the text can stand for an owner or a repository name in a
    // REST path.
    static bool isRepositoryNamePart(std::string_view text);

private:
    // A GET of apiBase + path with the service's four headers.
    core::HTTPRequest api(const std::string& path, const std::string& token) const;
    // Sends the request, conditionally when it is a GET under the API base.
    core::HTTPResponse send(core::HTTPRequest request, std::stop_token stop);
    // One call of the HTTP port; any failure that is not already a
    // HostingError becomes `network`, and any failure after the stop token
    // fired becomes CancellationError.
    core::HTTPResponse transport(const core::HTTPRequest& request, std::stop_token stop);
    // One check request: none for an answer that only says there is no data
    // (403, 404, 422 without a spent rate limit).
    std::optional<core::HTTPResponse> optional(const std::string& path, const std::string& token,
                                               std::stop_token stop);

    std::shared_ptr<core::HTTPClient> http_;
    DeviceFlow flow_;
    std::string apiBase_;
    std::shared_ptr<ETagCache> etags_;
};

}  // namespace tarv::hosting
