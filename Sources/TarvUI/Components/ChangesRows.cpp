#include "TarvUI/Components/ChangesRows.hpp"

#include "TarvFeatures/Changes/SubstringFilter.hpp"
#include "TarvFeatures/Workspace/WorkspaceState.hpp"

namespace tarv::ui {

namespace {

bool filterIsBlank(const features::WorkspaceState& ws) {
    if (ws.changes.filter.isEmpty()) return true;
    return features::SubstringFilter(ws.changes.filter.text()).isEmpty();
}

// The status and the paths the reducer last applied agree.
bool statusIsApplied(const features::WorkspaceState& ws) {
    return ws.changes.knownPaths.size() == ws.status.files.size();
}

}  // namespace

ChangesRows::ChangesRows(const features::WorkspaceState& ws) : ws_(ws), everyFile_(filterIsBlank(ws)) {
    if (everyFile_) {
        count_ = static_cast<std::int64_t>(ws.status.files.size());
    } else {
        filtered_ = ws.changes.visibleFiles(ws.status);
        count_ = static_cast<std::int64_t>(filtered_.size());
    }
}

const core::FileChange& ChangesRows::operator[](std::int64_t index) const {
    const auto i = static_cast<std::size_t>(index);
    return everyFile_ ? ws_.status.files[i] : *filtered_[i];
}

ChangesRows::Inclusion ChangesRows::inclusion() const {
    const auto& changes = ws_.changes;
    if (count_ == 0 || changes.included.empty()) return Inclusion::none;
    if (everyFile_ && statusIsApplied(ws_)) {
        const bool every = changes.included.size() == changes.knownPaths.size() && changes.partial.empty();
        return every ? Inclusion::all : Inclusion::some;
    }
    bool every = true;
    bool any = false;
    for (std::int64_t i = 0; i < count_; ++i) {
        const std::string& path = (*this)[i].path;
        const bool included = changes.included.contains(path);
        any = any || included;
        every = every && included && !changes.partial.contains(path);
    }
    if (every) return Inclusion::all;
    return any ? Inclusion::some : Inclusion::none;
}

bool ChangesRows::isIncluded(const std::string& path) const {
    const auto& changes = ws_.changes;
    if (changes.included.empty()) return false;
    if (statusIsApplied(ws_) && changes.included.size() == changes.knownPaths.size()) return true;
    return changes.included.contains(path);
}

}  // namespace tarv::ui
