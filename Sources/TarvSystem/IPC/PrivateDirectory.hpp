#pragma once

#include <sys/types.h>

#include <string>

// Checks and clean-up of private per-user directories in a possibly shared
// temporary folder (creation is TemporaryDirectory::createPrivate).
namespace tarv::system::PrivateDirectory {

// True when `path` itself (not what a link points to) is a directory owned
// by `uid` with mode 0700.
bool isPrivate(const std::string& path, uid_t uid);

// Removes `path` with its contents when it is a real directory (not a link)
// owned by `uid`; links inside are removed, never followed. False when
// nothing was removed.
bool removeOwnedDirectory(const std::string& path, uid_t uid);

}  // namespace tarv::system::PrivateDirectory
