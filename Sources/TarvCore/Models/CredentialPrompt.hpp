#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarv::core {

// A question git or ssh asks through the askpass helper.
struct CredentialPrompt {
    enum class Kind { username, password, passphrase, confirmation };
    // Which program asked: git's own credential prompts and ssh's prompts
    // (whose text an SSH server may choose) come through separate askpass
    // programs. `unknown` when the asker did not say.
    enum class Asker { unknown, git, ssh };

    // Unique per prompt within one run; the answer goes back under it.
    std::int64_t id = 0;
    Kind kind = Kind::password;
    // The prompt exactly as git or ssh printed it.
    std::string message;
    // What the prompt is about (a URL, a key file), from between single quotes.
    std::optional<std::string> subject;
    Asker asker = Asker::unknown;

    bool operator==(const CredentialPrompt&) const = default;

    // Secret answers are shown masked.
    constexpr bool isSecret() const { return kind == Kind::password || kind == Kind::passphrase; }
};

}  // namespace tarv::core
