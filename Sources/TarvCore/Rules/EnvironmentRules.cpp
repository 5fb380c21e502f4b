#include "TarvCore/Rules/EnvironmentRules.hpp"

#include "TarvCore/Rules/IdentityRules.hpp"
#include "TarvCore/Text/Trim.hpp"

namespace tarv::core::EnvironmentRules {

std::vector<EnvironmentIssue> issues(const EnvironmentReport& report, GitVersion minimum) {
    if (!report.gitPath) return {EnvironmentIssue::gitMissing()};
    std::vector<EnvironmentIssue> found;
    if (report.gitVersion && *report.gitVersion < minimum) {
        found.push_back(EnvironmentIssue::gitTooOld(*report.gitVersion, minimum));
    }
    if (!IdentityRules::isComplete(report.identity)) found.push_back(EnvironmentIssue::identityMissing());
    if (report.credentialHelpers.empty()) found.push_back(EnvironmentIssue::credentialHelperMissing());
    if (!report.defaultBranch || text::trimmedView(*report.defaultBranch).empty()) {
        found.push_back(EnvironmentIssue::defaultBranchUnset());
    }
    return found;
}

}  // namespace tarv::core::EnvironmentRules
