#include "TarvFeatures/Sync/ChecksTarget.hpp"

#include <string_view>

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::features {

std::optional<ChecksTarget> ChecksTarget::of(const std::optional<std::string>& remoteURL,
                                             const core::BranchStatus& branch) {
    constexpr std::string_view origin = "origin/";
    if (!remoteURL) return std::nullopt;
    const auto parsed = core::RemoteURLParser::parse(*remoteURL);
    if (!parsed || core::text::lowercased(parsed->host) != core::HostingDefaults::webHost) return std::nullopt;
    if (!parsed->owner) return std::nullopt;
    if (!branch.upstream || !branch.upstream->starts_with(origin)) return std::nullopt;
    return ChecksTarget{*parsed->owner, parsed->name, "heads/" + branch.upstream->substr(origin.size())};
}

std::string ChecksTarget::key(const core::BranchStatus& branch) const {
    return ref + "@" + branch.objectID.value_or("");
}

}  // namespace tarv::features
