#include "TarvFeatures/Changes/VisibleFiles.hpp"

#include "TarvFeatures/Changes/ChangesState.hpp"
#include "TarvFeatures/Changes/SubstringFilter.hpp"

namespace tarv::features {

VisibleFiles::VisibleFiles(const ChangesState& changes, const core::WorkingTreeStatus& status)
    : changes_(changes), status_(status) {
    const SubstringFilter query(changes.filter.text());
    everyFile_ = query.isEmpty();
    if (everyFile_) {
        count_ = static_cast<std::int64_t>(status.files.size());
        return;
    }
    for (const auto& file : status.files) {
        if (query.matches(file.path)) filtered_.push_back(&file);
    }
    count_ = static_cast<std::int64_t>(filtered_.size());
}

const core::FileChange& VisibleFiles::operator[](std::int64_t index) const {
    const auto i = static_cast<std::size_t>(index);
    return everyFile_ ? status_.files[i] : *filtered_[i];
}

std::optional<std::int64_t> VisibleFiles::indexOf(const std::string& path) const {
    for (std::int64_t i = 0; i < count_; ++i) {
        if ((*this)[i].path == path) return i;
    }
    return std::nullopt;
}

bool VisibleFiles::statusIsApplied() const { return changes_.knownPaths.size() == status_.files.size(); }

VisibleFiles::Inclusion VisibleFiles::inclusion() const {
    if (count_ == 0 || changes_.included.empty()) return Inclusion::none;
    if (everyFile_ && statusIsApplied()) {
        const bool every = changes_.included.size() == changes_.knownPaths.size() && changes_.partial.empty();
        return every ? Inclusion::all : Inclusion::some;
    }
    bool every = true;
    bool any = false;
    for (std::int64_t i = 0; i < count_; ++i) {
        const std::string& path = (*this)[i].path;
        const bool included = changes_.included.contains(path);
        any = any || included;
        every = every && included && !changes_.partial.contains(path);
    }
    if (every) return Inclusion::all;
    return any ? Inclusion::some : Inclusion::none;
}

bool VisibleFiles::isIncluded(const std::string& path) const {
    if (changes_.included.empty()) return false;
    if (statusIsApplied() && changes_.included.size() == changes_.knownPaths.size()) return true;
    return changes_.included.contains(path);
}

}  // namespace tarv::features
