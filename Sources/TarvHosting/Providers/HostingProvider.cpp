#include "TarvHosting/Providers/HostingProvider.hpp"

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::hosting::HostingProviderRules {

static_assert(githubHost == core::HostingDefaults::webHost);

HostingProvider detect(std::string_view host) {
    const std::string lowered = core::text::lowercased(host);
    const std::string_view name = lowered;
    if (name == githubHost || (name.size() > githubHost.size() && name.ends_with(githubHost) &&
                               name[name.size() - githubHost.size() - 1] == '.')) {
        return HostingProvider::github;
    }
    if (name == gitlabHost || (name.starts_with(gitlabName) && name.size() > gitlabName.size() &&
                               name[gitlabName.size()] == '.')) {
        return HostingProvider::gitlab;
    }
    if (name == bitbucketHost) return HostingProvider::bitbucket;
    return HostingProvider::generic;
}

HostingProvider detect(const core::RemoteURL& remote) { return detect(remote.host); }

std::optional<std::string> webURL(const core::RemoteURL& remote) { return remote.webURL(); }

}  // namespace tarv::hosting::HostingProviderRules
