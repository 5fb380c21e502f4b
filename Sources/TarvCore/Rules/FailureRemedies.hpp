#pragma once

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvCore/Models/FailureFix.hpp"
#include "TarvCore/Models/RemoteURL.hpp"

#include <optional>
#include <string>
#include <vector>

namespace tarv::core::FailureRemedies {

// The page where the user adds an SSH key on the hosting service.
std::string githubSSHKeysURL();

// The large-file-storage project's site, root page over https.
std::string gitLFSURL();

// The same repository over https: "https://" + host + "/" + owner + "/" +
// name + ".git" (the remote must have an owner).
std::string httpsURL(const RemoteURL& remote);

// The fixes offered beside a failed remote operation, in display order,
// from the failure, the repository's parsed remote (none when it has no
// parsable one) and whether a hosting session exists.
std::vector<FailureFix> fixes(const RemoteFailure& failure, const std::optional<RemoteURL>& remote, bool signedIn);

}  // namespace tarv::core::FailureRemedies
