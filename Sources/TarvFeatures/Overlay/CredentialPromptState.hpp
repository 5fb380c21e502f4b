#pragma once

#include <utility>

#include "TarvCore/Models/CredentialPrompt.hpp"
#include "TarvCore/Models/EditableText.hpp"

namespace tarv::features {

// git asks for a credential: the request as received and the typed answer.
struct CredentialPromptState {
    core::CredentialPrompt prompt;
    core::EditableText input;

    explicit CredentialPromptState(core::CredentialPrompt prompt) : prompt(std::move(prompt)) {}

    bool operator==(const CredentialPromptState&) const = default;
};

}  // namespace tarv::features
