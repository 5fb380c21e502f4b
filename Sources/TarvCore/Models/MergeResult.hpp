#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// The outcome of a merge.
struct MergeResult {
    // The merge stopped on conflicts in these paths.
    struct Conflicts {
        std::vector<std::string> paths;
        bool operator==(const Conflicts&) const = default;
    };
    // Nothing to merge.
    struct UpToDate {
        bool operator==(const UpToDate&) const = default;
    };
    // The branch moved forward without a merge commit.
    struct FastForward {
        bool operator==(const FastForward&) const = default;
    };
    // A merge commit was made.
    struct Merged {
        bool operator==(const Merged&) const = default;
    };

    using Value = std::variant<Conflicts, UpToDate, FastForward, Merged>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    MergeResult(Case&& result) : value(std::forward<Case>(result)) {}  // NOLINT: implicit on purpose

    static MergeResult conflicts(std::vector<std::string> paths) { return Conflicts{std::move(paths)}; }
    static MergeResult upToDate() { return UpToDate{}; }
    static MergeResult fastForward() { return FastForward{}; }
    static MergeResult merged() { return Merged{}; }

    bool operator==(const MergeResult&) const = default;
};

}  // namespace tarv::core
