#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tarv::core {

// One repository the program remembers (opened, cloned, created or added).
struct RepositoryEntry {
    // Absolute path of the working tree.
    std::string path;
    // Name shown in the picker.
    std::string name;
    // URL of the repository's remote on the hosting service.
    std::optional<std::string> remoteURL;
    // When it was last opened, seconds since 1970; 0 = never.
    std::int64_t lastOpened = 0;
    // Whether it is private on the hosting service, when known.
    std::optional<bool> isPrivate;

    bool operator==(const RepositoryEntry&) const = default;

    // The owner of the parsed remote URL; none without a remote URL, when it
    // does not parse or has no owner.
    std::optional<std::string> owner() const;
    // The parsed remote URL's host (lower case; empty for a file URL); none
    // without a remote URL or when it does not parse.
    std::optional<std::string> host() const;
};

// The JSON object of an entry, members in the order path, name, remoteURL,
// lastOpened, isPrivate; absent optionals are left out. JSON cannot hold
// bytes that are not UTF-8: such bytes are written as U+FFFD.
std::string encodeJSON(const RepositoryEntry& entry);

// Reads one entry object strictly: "path", "name" (strings) and "lastOpened"
// (an integer) are required; "remoteURL" (string) and "isPrivate" (boolean)
// may be missing or null; other members are ignored. None when the text is
// not such an object.
std::optional<RepositoryEntry> decodeRepositoryEntry(std::string_view json);

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::RepositoryEntry> {
    std::size_t operator()(const tarv::core::RepositoryEntry& entry) const noexcept;
};
