#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Models/Branch.hpp"
#include "TarvFeatures/Branches/BranchSection.hpp"

// The rows of the branch picker for a filter text: the default branch, up
// to ten recently committed local branches, then the other local branches
// and the remote branches without a local counterpart. Pure: it reads only
// its arguments and keeps nothing between calls.
namespace tarv::features::BranchRows {

// Local branches in the recent section, at most.
inline constexpr std::size_t recentCount = 10;

// The first of "main", "master", "develop", "trunk" that names a local
// branch; none when no local branch has one of these names.
std::optional<std::string> defaultBranchName(const std::vector<core::Branch>& branches);

// The sections, in the order default, recent, other; empty ones left out.
// Matching and ranking are FuzzyMatcher's over the branch names (all
// branches in their order for a blank filter); the recent and other local
// branches are ordered by newest tip first, ties keeping the match order.
std::vector<BranchSection> sections(const std::vector<core::Branch>& branches, std::string_view filter);

// The branches of all sections, section after section: the list the
// picker's row index refers to.
std::vector<core::Branch> selectable(const std::vector<core::Branch>& branches, std::string_view filter);

}  // namespace tarv::features::BranchRows
