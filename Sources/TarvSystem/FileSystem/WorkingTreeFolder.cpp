#include "TarvSystem/FileSystem/WorkingTreeFolder.hpp"

#include "TarvSystem/FileSystem/FileErrors.hpp"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarv::system {

namespace {

bool isPlainName(const std::string& name) { return !name.empty() && name != "." && name != ".."; }

// The folder `name` inside `folder`, never through a symbolic link; -1 with
// errno set (ELOOP for a link) when it cannot be opened.
int openFolderIn(int folder, const std::string& name, bool create) {
    int next = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0 && errno == ENOENT && create) {
        if (::mkdirat(folder, name.c_str(), 0777) != 0 && errno != EEXIST) return -1;
        next = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    }
    if (next >= 0) return next;
    // A link to a folder fails as "not a folder"; say what it is.
    const int error = errno;
    struct stat info {};
    const bool link = ::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode);
    errno = link ? ELOOP : error;
    return -1;
}

}  // namespace

WorkingTreeFolder::WorkingTreeFolder(const std::string& root, const std::string& path, bool create)
    : fullPath_(root + "/" + path) {
    std::string::size_type start = 0;
    std::string::size_type slash = path.find('/');
    fd_ = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) throwFileError("open folder", fullPath_, errno);
    for (; slash != std::string::npos; start = slash + 1, slash = path.find('/', start)) {
        const std::string name = path.substr(start, slash - start);
        const int next = isPlainName(name) ? openFolderIn(fd_, name, create) : -1;
        if (next < 0) {
            const int error = isPlainName(name) ? errno : EINVAL;
            ::close(fd_);
            throwFileError("open folder", fullPath_, error);
        }
        ::close(fd_);
        fd_ = next;
    }
    name_ = path.substr(start);
    if (!isPlainName(name_)) {
        ::close(fd_);
        throwFileError("open file", fullPath_, EINVAL);
    }
}

WorkingTreeFolder::~WorkingTreeFolder() { ::close(fd_); }

}  // namespace tarv::system
