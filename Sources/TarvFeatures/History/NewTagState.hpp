#pragma once

#include <string>
#include <utility>

#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// The tag-name prompt for a commit.
struct NewTagState {
    // The name being typed; single line.
    core::EditableText name{};
    // Id of the commit to tag.
    std::string commit;

    NewTagState() = default;
    // An empty name for `commit`.
    explicit NewTagState(std::string commit) : commit(std::move(commit)) {}
    NewTagState(core::EditableText name, std::string commit) : name(std::move(name)), commit(std::move(commit)) {}

    // The trimmed name passes the branch-name rules.
    bool isValid() const;

    bool operator==(const NewTagState&) const = default;
};

}  // namespace tarv::features
