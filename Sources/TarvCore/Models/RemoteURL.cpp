#include "TarvCore/Models/RemoteURL.hpp"

#include "TarvCore/Text/PercentEncoding.hpp"

#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core {

std::optional<std::string> RemoteURL::webURL() const {
    if (scheme == Scheme::file || host.empty() || !owner) return std::nullopt;
    return "https://" + host + "/" + *owner + "/" + name;
}

std::optional<std::string> RemoteURL::pullRequestURL(std::string_view branch) const {
    const auto base = webURL();
    if (!base) return std::nullopt;
    const std::string b = encode(branch);
    const std::string lowered = text::lowercased(host);
    if (lowered.find("gitlab") != std::string::npos) {
        return *base + "/-/merge_requests/new?merge_request%5Bsource_branch%5D=" + b;
    }
    if (lowered.find("bitbucket") != std::string::npos) {
        return *base + "/pull-requests/new?source=" + b;
    }
    return *base + "/compare/" + b + "?expand=1";
}

std::string RemoteURL::encode(std::string_view branch) { return text::percentEncoded(branch, "/"); }

}  // namespace tarv::core
