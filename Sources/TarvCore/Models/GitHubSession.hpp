#pragma once

#include <optional>
#include <string>

namespace tarv::core {

// The signed-in hosting account.
struct GitHubSession {
    std::string login;
    std::optional<std::string> name;
    // The OAuth access token.
    std::string token;

    bool operator==(const GitHubSession&) const = default;
};

}  // namespace tarv::core
