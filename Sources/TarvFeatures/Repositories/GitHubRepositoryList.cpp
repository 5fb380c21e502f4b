#include "TarvFeatures/Repositories/GitHubRepositoryList.hpp"

#include "TarvFeatures/Changes/SubstringFilter.hpp"

namespace tarv::features {

const std::vector<core::GitHubRepository>& GitHubRepositoryList::items() const {
    static const std::vector<core::GitHubRepository> none;
    const auto* loaded = std::get_if<Loaded>(&value);
    return loaded ? loaded->repositories : none;
}

std::vector<core::GitHubRepository> GitHubRepositoryList::matching(std::string_view text) const {
    const SubstringFilter query(text);
    // An address is being typed (a scheme, or the user of an scp-style one).
    if (query.query().find("://") != std::string::npos || query.query().find('@') != std::string::npos) return {};
    if (query.isEmpty()) return items();
    std::vector<core::GitHubRepository> result;
    for (const auto& repository : items()) {
        if (query.matches(repository.fullName)) result.push_back(repository);
    }
    return result;
}

}  // namespace tarv::features
