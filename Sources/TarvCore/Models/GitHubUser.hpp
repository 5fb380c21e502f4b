#pragma once

#include <optional>
#include <string>

namespace tarv::core {

struct GitHubUser {
    std::string login;
    std::optional<std::string> name;

    bool operator==(const GitHubUser&) const = default;
};

}  // namespace tarv::core
