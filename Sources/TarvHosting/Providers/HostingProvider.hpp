#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "TarvCore/Models/RemoteURL.hpp"

namespace tarv::hosting {

// The known hosting services a remote can live on.
enum class HostingProvider { github, gitlab, bitbucket, generic };

inline constexpr std::array<HostingProvider, 4> allHostingProviders = {
    HostingProvider::github, HostingProvider::gitlab, HostingProvider::bitbucket, HostingProvider::generic};

// Rules over hosts and remotes; pure.
namespace HostingProviderRules {

inline constexpr std::string_view githubHost = "github.com";
inline constexpr std::string_view gitlabHost = "gitlab.com";
// Self-managed instances are named after the service: "gitlab.<domain>".
inline constexpr std::string_view gitlabName = "gitlab";
inline constexpr std::string_view bitbucketHost = "bitbucket.org";

// The provider of a host name, compared lower-cased and otherwise exactly
// (no trimming, no port or trailing-dot handling): the GitHub host or any
// subdomain of it; the GitLab host or any name starting with "gitlab.";
// the Bitbucket host exactly; anything else, the empty name too, generic.
HostingProvider detect(std::string_view host);

// The provider of the remote's host.
HostingProvider detect(const core::RemoteURL& remote);

// The remote's repository page, for every provider alike.
std::optional<std::string> webURL(const core::RemoteURL& remote);

}  // namespace HostingProviderRules

}  // namespace tarv::hosting
