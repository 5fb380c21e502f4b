#include "TarvFeatures/Branches/BranchRows.hpp"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "TarvCore/Rules/FuzzyMatcher.hpp"

namespace tarv::features::BranchRows {

namespace {

constexpr std::array<std::string_view, 4> defaultCandidates = {"main", "master", "develop", "trunk"};

using Rows = std::vector<const core::Branch*>;

// The three sections as pointers into `branches`, so that ranking and
// sorting copy no branch.
struct Split {
    Rows defaults;
    Rows recent;
    Rows others;
};

// The short name of a remote branch: what follows the first "/"; none
// without one.
std::optional<std::string_view> shortName(const core::Branch& branch) {
    const std::size_t slash = branch.name.find('/');
    if (slash == std::string::npos) return std::nullopt;
    return std::string_view(branch.name).substr(slash + 1);
}

// Appends, in match order, the matched remote branches that have a short
// name which no local branch (matched or not) has. Only the short names of
// the matched remotes are indexed, so a narrow filter hashes few names.
void appendRemotesWithoutLocal(const std::vector<core::Branch>& branches, const Rows& matches, Rows& out) {
    std::unordered_set<std::string_view> shortNames;
    for (const core::Branch* branch : matches) {
        if (!branch->isRemote) continue;
        if (const auto name = shortName(*branch)) shortNames.insert(*name);
    }
    if (shortNames.empty()) return;
    std::unordered_set<std::string_view> shadowed;
    for (const auto& branch : branches) {
        if (!branch.isRemote && shortNames.contains(branch.name)) shadowed.insert(branch.name);
    }
    for (const core::Branch* branch : matches) {
        if (!branch->isRemote) continue;
        const auto name = shortName(*branch);
        if (name && !shadowed.contains(*name)) out.push_back(branch);
    }
}

Split split(const std::vector<core::Branch>& branches, std::string_view filter) {
    Rows all;
    all.reserve(branches.size());
    for (const auto& branch : branches) all.push_back(&branch);
    const Rows matches =
        core::FuzzyMatcher::filter(all, filter, [](const core::Branch* branch) -> const std::string& {
            return branch->name;
        });
    const std::optional<std::string> defaultName = defaultBranchName(branches);

    Split result;
    Rows locals;
    for (const core::Branch* branch : matches) {
        if (branch->isRemote) continue;
        if (defaultName && branch->name == *defaultName) {
            result.defaults.push_back(branch);
        } else {
            locals.push_back(branch);
        }
    }
    std::stable_sort(locals.begin(), locals.end(), [](const core::Branch* a, const core::Branch* b) {
        return a->lastCommitTimestamp > b->lastCommitTimestamp;
    });
    const std::size_t recent = std::min(locals.size(), recentCount);
    result.recent.assign(locals.begin(), locals.begin() + static_cast<std::ptrdiff_t>(recent));
    result.others.assign(locals.begin() + static_cast<std::ptrdiff_t>(recent), locals.end());
    appendRemotesWithoutLocal(branches, matches, result.others);
    return result;
}

std::vector<core::Branch> copies(const Rows& rows) {
    std::vector<core::Branch> out;
    out.reserve(rows.size());
    for (const core::Branch* branch : rows) out.push_back(*branch);
    return out;
}

}  // namespace

std::optional<std::string> defaultBranchName(const std::vector<core::Branch>& branches) {
    std::optional<std::size_t> best;
    for (const auto& branch : branches) {
        if (branch.isRemote) continue;
        for (std::size_t rank = 0; rank < defaultCandidates.size(); ++rank) {
            if (branch.name == defaultCandidates[rank] && (!best || rank < *best)) best = rank;
        }
    }
    if (!best) return std::nullopt;
    return std::string(defaultCandidates[*best]);
}

std::vector<BranchSection> sections(const std::vector<core::Branch>& branches, std::string_view filter) {
    const Split rows = split(branches, filter);
    std::vector<BranchSection> result;
    if (!rows.defaults.empty()) result.push_back(BranchSection{core::Text::defaultBranch(), copies(rows.defaults)});
    if (!rows.recent.empty()) result.push_back(BranchSection{core::Text::recentBranches(), copies(rows.recent)});
    if (!rows.others.empty()) result.push_back(BranchSection{core::Text::otherBranches(), copies(rows.others)});
    return result;
}

std::vector<core::Branch> selectable(const std::vector<core::Branch>& branches, std::string_view filter) {
    const Split rows = split(branches, filter);
    std::vector<core::Branch> result;
    result.reserve(rows.defaults.size() + rows.recent.size() + rows.others.size());
    for (const Rows* section : {&rows.defaults, &rows.recent, &rows.others}) {
        for (const core::Branch* branch : *section) result.push_back(*branch);
    }
    return result;
}

}  // namespace tarv::features::BranchRows
