#pragma once

#include <map>
#include <string>

namespace tarv::storage {

// Where the program keeps its own files: the configuration folder (the
// keymap file), the state folder (the repository registry and the keychain
// stand-in's items) and the cache folder, each ending in "/tarv". Nothing is
// created on disk.
struct AppPaths {
    std::string configDirectory;
    std::string stateDirectory;
    std::string cacheDirectory;

    // Each folder is the XDG variable's value when it is an absolute path
    // (used exactly as given), else `home` + "/.config", "/.local/state" or
    // "/.cache"; then "/tarv" is appended.
    AppPaths(const std::string& home, const std::map<std::string, std::string>& environment);

    bool operator==(const AppPaths&) const = default;
};

}  // namespace tarv::storage
