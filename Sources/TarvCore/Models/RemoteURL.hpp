#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarv::core {

// A repository's remote address, parsed once (see RemoteURLParser).
struct RemoteURL {
    enum class Scheme { https, http, ssh, git, file };

    Scheme scheme = Scheme::https;
    // Always lower case; empty for a file URL.
    std::string host;
    // Everything between the host and the name; may hold "/" (a group and its
    // subgroups).
    std::optional<std::string> owner;
    // The repository name without a trailing ".git"; never empty.
    std::string name;
    // The text it was parsed from, trimmed.
    std::string original;

    bool operator==(const RemoteURL&) const = default;

    // The repository's page: "https://" + host + "/" + owner + "/" + name;
    // none for a file URL, an empty host or no owner.
    std::optional<std::string> webURL() const;

    // The page that starts a new pull (merge) request for the branch.
    std::optional<std::string> pullRequestURL(std::string_view branch) const;

    // Percent-encodes every byte of the branch name except ASCII letters,
    // digits and "-", ".", "_", "~", "/".
    static std::string encode(std::string_view branch);
};

}  // namespace tarv::core
