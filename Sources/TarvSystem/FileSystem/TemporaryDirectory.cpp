#include "TarvSystem/FileSystem/TemporaryDirectory.hpp"

#include "TarvSystem/FileSystem/FileErrors.hpp"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarv::system::TemporaryDirectory {

namespace {

std::string withoutTrailingSlashes(std::string path) {
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
}

bool isAbsolute(const std::optional<std::string>& value) { return value && !value->empty() && value->front() == '/'; }

std::optional<std::string> environmentValue(const char* name) {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

}  // namespace

std::string choose(const std::optional<std::string>& xdgRuntimeDir, const std::optional<std::string>& tmpDir) {
    if (isAbsolute(xdgRuntimeDir)) {
        struct stat info {};
        if (::lstat(xdgRuntimeDir->c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()) {
            return withoutTrailingSlashes(*xdgRuntimeDir);
        }
    }
    if (isAbsolute(tmpDir)) return withoutTrailingSlashes(*tmpDir);
    return "/tmp";
}

std::string current() { return choose(environmentValue("XDG_RUNTIME_DIR"), environmentValue("TMPDIR")); }

void createPrivate(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0) throwFileError("create private folder", path, errno);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) throwFileError("check private folder", path, errno);
    if (!S_ISDIR(info.st_mode) || info.st_uid != ::getuid()) throwFileError("check private folder", path, EPERM);
    // A restrictive umask may have taken bits away from the owner.
    if ((info.st_mode & 07777) != 0700 && ::chmod(path.c_str(), 0700) != 0) {
        throwFileError("check private folder", path, errno);
    }
}

}  // namespace tarv::system::TemporaryDirectory
