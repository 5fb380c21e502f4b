#pragma once

#include "TarvCore/Models/RepoGroup.hpp"
#include "TarvCore/Models/RepositoryEntry.hpp"

#include <cstdint>
#include <string_view>
#include <vector>

namespace tarv::core::RepoGrouping {

// The sections of the repository picker: the `recentCount` most recently
// opened repositories (only without a filter), then one group per owner
// (ordered by the owner's lower-cased name), then the rest. Entries that do
// not match the filter (fuzzy, over owner and name) are left out; within a
// group entries are ordered by lower-cased name. No group is empty. A
// negative count counts as 0.
std::vector<RepoGroup> groups(const std::vector<RepositoryEntry>& entries, std::string_view filter = "",
                              std::int64_t recentCount = 3);

}  // namespace tarv::core::RepoGrouping
