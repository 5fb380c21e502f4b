#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace tarv::core {

// A question git or ssh asks through the askpass helper.
struct CredentialPrompt {
    enum class Kind { username, password, passphrase, confirmation };

    // Unique per prompt within one run; the answer goes back under it.
    std::int64_t id = 0;
    Kind kind = Kind::password;
    // The prompt exactly as git or ssh printed it.
    std::string message;
    // What the prompt is about (a URL, a key file), from between single quotes.
    std::optional<std::string> subject;

    bool operator==(const CredentialPrompt&) const = default;

    // Secret answers are shown masked.
    constexpr bool isSecret() const { return kind == Kind::password || kind == Kind::passphrase; }
};

}  // namespace tarv::core
