#pragma once

#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace tarv::core {

// The outcome of revert, cherry-pick, rebase, history edits and continue.
struct OperationResult {
    // The operation stopped on conflicts in these paths and waits for them.
    struct Conflicts {
        std::vector<std::string> paths;
        bool operator==(const Conflicts&) const = default;
    };
    struct Completed {
        // A continue found nothing staged: the step, whose commit would
        // have been empty, was skipped rather than committed.
        bool skippedEmpty = false;
        bool operator==(const Completed&) const = default;
    };

    using Value = std::variant<Conflicts, Completed>;
    Value value;

    template <class Case>
        requires std::is_constructible_v<Value, Case&&>
    OperationResult(Case&& result) : value(std::forward<Case>(result)) {}  // NOLINT: implicit on purpose

    static OperationResult conflicts(std::vector<std::string> paths) { return Conflicts{std::move(paths)}; }
    static OperationResult completed() { return Completed{}; }
    static OperationResult completedSkippingEmpty() { return Completed{true}; }

    bool operator==(const OperationResult&) const = default;
};

}  // namespace tarv::core
