#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "TarvCore/Localization/Text.hpp"
#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// The form that publishes the open repository as a new hosting repository.
struct PublishRepositoryState {
    // The focused field, in focus order.
    enum class Field { name, description, visibility };
    static constexpr std::array<Field, 3> allCases = {Field::name, Field::description, Field::visibility};

    // The repository name as typed.
    core::EditableText name{};
    core::EditableText description{};
    bool isPrivate = true;
    Field field = Field::name;
    // A publish job runs: submit and the visibility toggle are ignored.
    bool isPublishing = false;
    // The last error, shown in the form.
    std::optional<core::Text> error;

    PublishRepositoryState() = default;
    // The name field holds the sanitised `name`; everything else initial.
    explicit PublishRepositoryState(std::string_view name);

    // The name as it will be sent: RepositoryNameRules::sanitize of the text.
    std::string sanitizedName() const;
    // The sanitised name is acceptable to the hosting service.
    bool isValid() const;

    // The next field in the cycle name, description, visibility (the
    // previous one with `reverse`).
    static Field fieldAfter(Field current, bool reverse = false);

    bool operator==(const PublishRepositoryState&) const = default;
};

}  // namespace tarv::features
