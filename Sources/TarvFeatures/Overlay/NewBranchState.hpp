#pragma once

#include <optional>
#include <string>

#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// The prompt for a new branch name, also used to rename a branch.
struct NewBranchState {
    // The typed name; starts with the old name when renaming, else empty.
    core::EditableText name;
    // The commit or branch to start from; none means the current HEAD.
    std::optional<std::string> start;
    // The branch being renamed; none means a new branch is created.
    std::optional<std::string> renaming;

    explicit NewBranchState(std::optional<std::string> start = std::nullopt,
                            std::optional<std::string> renaming = std::nullopt);

    // The typed name cleaned the way a branch name is cleaned (trimmed,
    // inner white space turned into "-").
    std::string sanitized() const;
    // Whether the cleaned name (not the raw text) is a valid branch name.
    bool isValid() const;

    bool operator==(const NewBranchState&) const = default;
};

}  // namespace tarv::features
