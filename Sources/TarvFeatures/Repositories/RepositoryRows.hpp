#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "TarvCore/Models/RepoGroup.hpp"
#include "TarvCore/Models/RepositoryEntry.hpp"

// The rows of the repository picker.
namespace tarv::features::RepositoryRows {

// Entries in the picker's recent group, at most.
inline constexpr std::int64_t recentCount = 3;

// The picker's groups for a filter text (RepoGrouping with a recent count
// of 3).
std::vector<core::RepoGroup> groups(const std::vector<core::RepositoryEntry>& entries, std::string_view filter);

// The entries of those groups, group after group: the list the picker's row
// index refers to.
std::vector<core::RepositoryEntry> selectable(const std::vector<core::RepositoryEntry>& entries,
                                              std::string_view filter);

}  // namespace tarv::features::RepositoryRows
