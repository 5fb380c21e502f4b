#pragma once

#include <string>
#include <utility>

#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// The prompt that creates a worktree for a new branch beside the repository.
struct NewWorktreeState {
    // The new branch's name; single line.
    core::EditableText branch{};
    // The open repository's path.
    std::string repositoryPath;

    NewWorktreeState() = default;
    // An empty branch name.
    explicit NewWorktreeState(std::string repositoryPath) : repositoryPath(std::move(repositoryPath)) {}
    NewWorktreeState(core::EditableText branch, std::string repositoryPath)
        : branch(std::move(branch)), repositoryPath(std::move(repositoryPath)) {}

    // The trimmed branch name passes the branch-name rules.
    bool isValid() const;
    // The worktree's folder, a sibling of the repository: its parent ("."
    // for a bare name), "/", the repository's name, "-", and the trimmed
    // branch name with every "/" turned into "-". One trailing "/" of the
    // repository path is ignored: /work/app and feature/login give
    // /work/app-feature-login.
    std::string destination() const;

    bool operator==(const NewWorktreeState&) const = default;
};

}  // namespace tarv::features
