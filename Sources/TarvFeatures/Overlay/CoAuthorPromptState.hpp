#pragma once

#include <optional>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// The prompt for a co-author line ("Name <email>").
struct CoAuthorPromptState {
    core::EditableText input{};
    // The message shown under the field.
    std::optional<core::Text> error;

    bool operator==(const CoAuthorPromptState&) const = default;
};

}  // namespace tarv::features
