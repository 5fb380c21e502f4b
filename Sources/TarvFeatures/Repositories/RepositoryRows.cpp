#include "TarvFeatures/Repositories/RepositoryRows.hpp"

#include "TarvCore/Rules/RepoGrouping.hpp"

namespace tarv::features::RepositoryRows {

std::vector<core::RepoGroup> groups(const std::vector<core::RepositoryEntry>& entries, std::string_view filter) {
    return core::RepoGrouping::groups(entries, filter, recentCount);
}

std::vector<core::RepositoryEntry> selectable(const std::vector<core::RepositoryEntry>& entries,
                                              std::string_view filter) {
    std::vector<core::RepositoryEntry> rows;
    for (auto& group : groups(entries, filter)) {
        for (auto& entry : group.entries) rows.push_back(std::move(entry));
    }
    return rows;
}

}  // namespace tarv::features::RepositoryRows
