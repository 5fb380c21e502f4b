#include "TarvCore/Rules/FailureRemedies.hpp"

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core::FailureRemedies {

namespace {

// The remote is on the hosting service: its host, lower-cased, is the web
// host exactly (a sub-domain does not count).
bool isGitHub(const std::optional<RemoteURL>& remote) {
    return remote && text::lowercased(remote->host) == HostingDefaults::webHost;
}

}  // namespace

std::string githubSSHKeysURL() { return "https://" + std::string(HostingDefaults::webHost) + "/settings/keys"; }

std::string gitLFSURL() { return std::string(HostingDefaults::lfsInstallURL); }

std::string httpsURL(const RemoteURL& remote) {
    return "https://" + remote.host + "/" + remote.owner.value_or("") + "/" + remote.name + ".git";
}

std::vector<FailureFix> fixes(const RemoteFailure& failure, const std::optional<RemoteURL>& remote, bool signedIn) {
    std::vector<FailureFix> signInList;
    if (isGitHub(remote) && !signedIn) signInList.push_back(FailureFix::signIn());

    using F = RemoteFailure;
    struct Visitor {
        const std::optional<RemoteURL>& remote;
        const std::vector<FailureFix>& signInList;

        std::vector<FailureFix> operator()(const F::SsoRequired& f) const {
            if (f.url) return {FailureFix::openURL(*f.url)};
            return {};
        }
        std::vector<FailureFix> operator()(const F::RepositoryMoved& f) const {
            if (f.url) return {FailureFix::useRemoteURL(*f.url)};
            return {};
        }
        std::vector<FailureFix> operator()(const F::Other&) const { return {}; }
        std::vector<FailureFix> operator()(const F::AuthenticationFailed&) const { return signInList; }
        std::vector<FailureFix> operator()(const F::PermissionDenied&) const { return signInList; }
        std::vector<FailureFix> operator()(const F::RepositoryNotFound&) const { return signInList; }
        std::vector<FailureFix> operator()(const F::NetworkUnavailable&) const { return {FailureFix::retry()}; }
        std::vector<FailureFix> operator()(const F::NonFastForward&) const { return {FailureFix::pull()}; }
        std::vector<FailureFix> operator()(const F::DivergentBranches&) const { return {}; }
        std::vector<FailureFix> operator()(const F::NoUpstream&) const { return {FailureFix::publishBranch()}; }
        std::vector<FailureFix> operator()(const F::NoRemote&) const { return {}; }
        std::vector<FailureFix> operator()(const F::HookRejected&) const { return {}; }
        std::vector<FailureFix> operator()(const F::SshKeyMissing&) const {
            std::vector<FailureFix> result;
            if (remote &&
                (remote->scheme == RemoteURL::Scheme::ssh || remote->scheme == RemoteURL::Scheme::git) &&
                !remote->host.empty() && remote->owner) {
                result.push_back(FailureFix::useRemoteURL(httpsURL(*remote)));
            }
            if (isGitHub(remote)) result.push_back(FailureFix::openURL(githubSSHKeysURL()));
            return result;
        }
        std::vector<FailureFix> operator()(const F::HostKeyChanged&) const { return {}; }
        std::vector<FailureFix> operator()(const F::LfsMissing&) const { return {FailureFix::openURL(gitLFSURL())}; }
        std::vector<FailureFix> operator()(const F::SigningFailed&) const { return {}; }
    };
    return std::visit(Visitor{remote, signInList}, failure.value);
}

}  // namespace tarv::core::FailureRemedies
