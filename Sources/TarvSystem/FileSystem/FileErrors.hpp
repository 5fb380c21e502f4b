#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace tarv::system {

// Throws the file-system error that the file adapters report for a failed
// system call on `path`.
[[noreturn]] inline void throwFileError(const char* what, const std::string& path, int error) {
    throw std::filesystem::filesystem_error(what, std::filesystem::path(path),
                                            std::error_code(error, std::generic_category()));
}

// The folder part of a path as the system calls see it: "." for a bare name,
// "/" for an entry of the root.
inline std::string parentFolder(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

}  // namespace tarv::system
