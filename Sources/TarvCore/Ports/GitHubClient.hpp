#pragma once

#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvCore/Models/DeviceCode.hpp"
#include "TarvCore/Models/DeviceTokenStatus.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"
#include "TarvCore/Models/GitHubUser.hpp"
#include "TarvCore/Models/PullRequest.hpp"

#include <stop_token>
#include <string>
#include <vector>

namespace tarv::core {

// The hosting service's REST interface and device-flow sign-in. Every call
// blocks and throws HostingError.
class GitHubClient {
public:
    virtual ~GitHubClient() = default;

    virtual DeviceCode requestDeviceCode(std::stop_token stop) = 0;
    virtual DeviceTokenStatus pollAccessToken(const std::string& deviceCode, std::stop_token stop) = 0;
    virtual GitHubUser currentUser(const std::string& token, std::stop_token stop) = 0;
    virtual std::vector<PullRequest> pullRequests(const std::string& owner, const std::string& name,
                                                  const std::string& token, std::stop_token stop) = 0;
    virtual std::vector<GitHubRepository> repositories(const std::string& token, std::stop_token stop) = 0;
    virtual CheckSummary checks(const std::string& owner, const std::string& name, const std::string& ref,
                                const std::string& token, std::stop_token stop) = 0;
    virtual GitHubRepository createRepository(const std::string& name, const std::string& description,
                                              bool isPrivate, const std::string& token, std::stop_token stop) = 0;
};

}  // namespace tarv::core
