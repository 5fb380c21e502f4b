#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/EditableText.hpp"
#include "TarvCore/Models/GitHubRepository.hpp"
#include "TarvCore/Models/ListScroll.hpp"
#include "TarvFeatures/Repositories/GitHubRepositoryList.hpp"

namespace tarv::features {

// The clone form: a URL field (also the filter of the signed-in user's
// repositories), a destination field and the list of matching repositories.
struct ClonePromptState {
    enum class Field { url, destination };

    core::EditableText url;
    // The folder into which the repository is cloned.
    core::EditableText destination;
    Field field = Field::url;
    // A clone is running.
    bool isCloning = false;
    // The message shown under the form.
    std::optional<core::Text> error;
    // The user's hosted repositories, replaced when they are loaded.
    GitHubRepositoryList remote;
    // Selection in `matches()`; nothing at first.
    core::ListScroll list;

    explicit ClonePromptState(std::string_view destination);

    // The repositories of `remote` that match the URL text.
    std::vector<core::GitHubRepository> matches() const;
    // The match at `list.selected`; none when nothing is selected or the
    // index is not a row of `matches()` (for instance after the URL text
    // narrowed the list).
    std::optional<core::GitHubRepository> selectedRepository() const;

    bool operator==(const ClonePromptState&) const = default;
};

}  // namespace tarv::features
