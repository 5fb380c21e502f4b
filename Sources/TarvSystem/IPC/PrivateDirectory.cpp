#include "TarvSystem/IPC/PrivateDirectory.hpp"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace tarv::system::PrivateDirectory {

bool isPrivate(const std::string& path, uid_t uid) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == uid && (info.st_mode & 07777) == 0700;
}

bool removeOwnedDirectory(const std::string& path, uid_t uid) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) return false;
    if (!S_ISDIR(info.st_mode) || info.st_uid != uid) return false;
    std::error_code error;
    // remove_all removes symbolic links themselves and never descends
    // through them.
    return std::filesystem::remove_all(path, error) > 0 && !error;
}

}  // namespace tarv::system::PrivateDirectory
