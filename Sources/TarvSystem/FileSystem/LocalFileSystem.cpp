#include "TarvSystem/FileSystem/LocalFileSystem.hpp"

#include <sys/stat.h>
#include <unistd.h>

namespace tarv::system {

bool LocalFileSystem::isExecutableFile(const std::string& path) const {
    struct stat info {};
    if (path.empty() || ::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    return ::access(path.c_str(), X_OK) == 0;
}

}  // namespace tarv::system
