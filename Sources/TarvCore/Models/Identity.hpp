#pragma once

#include <optional>
#include <string>

namespace tarv::core {

// The author identity as git's configuration holds it.
struct Identity {
    // user.name
    std::optional<std::string> name = std::nullopt;
    // user.email
    std::optional<std::string> email = std::nullopt;

    bool operator==(const Identity&) const = default;
};

}  // namespace tarv::core
