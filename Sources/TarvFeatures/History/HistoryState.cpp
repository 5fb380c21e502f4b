#include "TarvFeatures/History/HistoryState.hpp"

namespace tarv::features {

const core::Commit* HistoryState::selectedCommit() const {
    if (!list.selected) return nullptr;
    const std::int64_t index = *list.selected;
    if (index < 0 || index >= static_cast<std::int64_t>(commits.size())) return nullptr;
    return &commits[static_cast<std::size_t>(index)];
}

}  // namespace tarv::features
