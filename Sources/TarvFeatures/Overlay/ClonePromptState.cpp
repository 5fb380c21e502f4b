#include "TarvFeatures/Overlay/ClonePromptState.hpp"

#include <cstddef>

namespace tarv::features {

ClonePromptState::ClonePromptState(std::string_view destination) : destination(destination) {}

std::vector<core::GitHubRepository> ClonePromptState::matches() const {
    return remote.matching(url.text());
}

std::optional<core::GitHubRepository> ClonePromptState::selectedRepository() const {
    if (!list.selected || *list.selected < 0) return std::nullopt;
    auto rows = matches();
    const auto index = static_cast<std::size_t>(*list.selected);
    if (index >= rows.size()) return std::nullopt;
    return std::move(rows[index]);
}

}  // namespace tarv::features
