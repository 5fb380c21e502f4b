#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "TarvCore/Models/CredentialPrompt.hpp"

namespace tarv::system {

// The one line an askpass client sends: the server's token, the prompt and
// which program asked (git or ssh, known from the link the client was
// started through).
struct AskpassRequest {
    using Asker = core::CredentialPrompt::Asker;

    std::string token;
    std::string prompt;
    Asker asker = Asker::unknown;

    bool operator==(const AskpassRequest&) const = default;

    // Compact JSON {"token":…,"prompt":…,"asker":"git"|"ssh"} without a line
    // break; "asker" is left out when unknown. Invalid UTF-8 (the prompt
    // comes from the command line) is repaired first, so the encoding never
    // fails and is always valid JSON.
    std::string encode() const;

    // Strict decoding of one wire line: a JSON object whose "token" and
    // "prompt" members are strings; other members are ignored. An "asker"
    // other than the string "git" or "ssh", or none, gives `unknown`, which
    // is never trusted as git. Oversized or too deeply nested input, invalid
    // JSON or invalid UTF-8 give empty.
    static std::optional<AskpassRequest> decode(std::string_view line);
};

}  // namespace tarv::system
