#pragma once

#include "TarvCore/Models/CredentialPrompt.hpp"

#include <optional>
#include <string>
#include <string_view>

namespace tarv::core::CredentialPromptParser {

struct Parsed {
    CredentialPrompt::Kind kind = CredentialPrompt::Kind::password;
    std::optional<std::string> subject;

    bool operator==(const Parsed&) const = default;
};

// Classifies a prompt text: a yes/no question, a passphrase or PIN, a user
// name, else a password; the subject is the text between its first single
// quote and the last one after it. Never fails.
Parsed parse(std::string_view prompt);

}  // namespace tarv::core::CredentialPromptParser
