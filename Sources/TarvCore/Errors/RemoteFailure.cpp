#include "TarvCore/Errors/RemoteFailure.hpp"

#include <array>

namespace tarv::core {

const char* RemoteFailure::what() const noexcept {
    static constexpr std::array<const char*, caseCount> names = {
        "RemoteFailure.ssoRequired",          "RemoteFailure.repositoryMoved",  "RemoteFailure.other",
        "RemoteFailure.authenticationFailed", "RemoteFailure.permissionDenied", "RemoteFailure.repositoryNotFound",
        "RemoteFailure.networkUnavailable",   "RemoteFailure.nonFastForward",   "RemoteFailure.divergentBranches",
        "RemoteFailure.noUpstream",           "RemoteFailure.noRemote",         "RemoteFailure.hookRejected",
        "RemoteFailure.sshKeyMissing",        "RemoteFailure.hostKeyChanged",   "RemoteFailure.lfsMissing",
        "RemoteFailure.signingFailed"};
    return names[value.index()];
}

std::string RemoteFailure::description() const {
    std::string out = what();
    if (const auto* sso = std::get_if<SsoRequired>(&value)) {
        if (sso->url) out += ": " + *sso->url;
    } else if (const auto* moved = std::get_if<RepositoryMoved>(&value)) {
        if (moved->url) out += ": " + *moved->url;
    } else if (const auto* other = std::get_if<Other>(&value)) {
        out += ": " + other->message;
    }
    return out;
}

}  // namespace tarv::core
