#pragma once

#include <optional>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// The prompt for a folder path: adds an existing repository, or creates a new
// one there when `isCreating`.
struct PathPromptState {
    core::EditableText path;
    // The message shown under the field.
    std::optional<core::Text> error;
    // A check of the path is running.
    bool isChecking = false;
    // true: the submitted path becomes a new repository; false: an existing
    // repository is added.
    bool isCreating = false;
    // The path holds no repository and the prompt offers to create one.
    bool offersCreate = false;

    explicit PathPromptState(bool isCreating = false) : isCreating(isCreating) {}

    bool operator==(const PathPromptState&) const = default;
};

}  // namespace tarv::features
