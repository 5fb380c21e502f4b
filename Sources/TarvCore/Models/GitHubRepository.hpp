#pragma once

#include <string>

namespace tarv::core {

// A row of the signed-in user's repository list.
struct GitHubRepository {
    // "owner/name".
    std::string fullName;
    bool isPrivate = false;
    std::string cloneURL;
    bool isFork = false;

    bool operator==(const GitHubRepository&) const = default;

    // The last non-empty piece of `fullName` split at "/"; `fullName` itself
    // when there is none.
    std::string name() const;
};

}  // namespace tarv::core
