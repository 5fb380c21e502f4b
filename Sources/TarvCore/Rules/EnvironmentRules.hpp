#pragma once

#include <vector>

#include "TarvCore/Models/EnvironmentIssue.hpp"
#include "TarvCore/Models/EnvironmentReport.hpp"
#include "TarvCore/Models/GitVersion.hpp"

namespace tarv::core::EnvironmentRules {

inline constexpr GitVersion minimumGitVersion{2, 30, 0};

// The problems of a probed set-up, in this order: git missing (then nothing
// else), git older than `minimum`, identity incomplete, no credential
// helper, no default branch (or a blank one).
std::vector<EnvironmentIssue> issues(const EnvironmentReport& report, GitVersion minimum = minimumGitVersion);

}  // namespace tarv::core::EnvironmentRules
