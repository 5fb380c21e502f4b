#include "TarvSystem/FileSystem/LocalFileStore.hpp"

#include "TarvSystem/FileSystem/FileErrors.hpp"
#include "TarvSystem/FileSystem/FileReading.hpp"

#include "TarvSystem/FileSystem/AtomicFile.hpp"
#include "TarvSystem/FileSystem/TemporaryDirectory.hpp"
#include "TarvSystem/FileSystem/WorkingTreeFolder.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarv::system {

namespace {

std::string passwordDatabaseHome() {
    long size = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    if (size <= 0) size = 16384;
    std::vector<char> buffer(static_cast<std::size_t>(size));
    passwd entry{};
    passwd* result = nullptr;
    while (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &result) == ERANGE) {
        buffer.resize(buffer.size() * 2);
    }
    if (result != nullptr && result->pw_dir != nullptr && result->pw_dir[0] == '/') return result->pw_dir;
    return "/";
}

bool isMissing(const std::filesystem::filesystem_error& error) {
    return error.code() == std::errc::no_such_file_or_directory || error.code() == std::errc::not_a_directory;
}

// Everything in `fd`, which it closes.
core::Bytes readAll(int fd, const std::string& path) {
    core::Bytes bytes;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > 0) {
        bytes.reserve(static_cast<std::size_t>(info.st_size));
    }
    if (!readToEnd(fd, bytes)) {
        const int error = errno;
        ::close(fd);
        throwFileError("read file", path, error);
    }
    ::close(fd);
    return bytes;
}

}  // namespace

std::string LocalFileStore::homeDirectory() const {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    return passwordDatabaseHome();
}

std::string LocalFileStore::temporaryDirectory() const { return TemporaryDirectory::current(); }

bool LocalFileStore::fileExists(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

std::optional<core::Bytes> LocalFileStore::readFile(const std::string& path) const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throwFileError("read file", path, errno);
    }
    return readAll(fd, path);
}

void LocalFileStore::writeFile(const std::string& path, const core::Bytes& bytes) const {
    createDirectory(parentFolder(path));
    std::optional<mode_t> mode;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) mode = info.st_mode & 07777;
    AtomicFile::write(path, bytes, mode);
}

std::optional<core::Bytes> LocalFileStore::readFileInWorkingTree(const std::string& root,
                                                                 const std::string& path) const {
    std::optional<WorkingTreeFolder> folder;
    try {
        folder.emplace(root, path, false);
    } catch (const std::filesystem::filesystem_error& error) {
        if (isMissing(error)) return std::nullopt;
        throw;
    }
    const int fd = ::openat(folder->fd(), folder->name().c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
        throwFileError("read file", folder->fullPath(), errno);
    }
    return readAll(fd, folder->fullPath());
}

void LocalFileStore::writeFileInWorkingTree(const std::string& root, const std::string& path,
                                            const core::Bytes& bytes) const {
    const WorkingTreeFolder folder(root, path, true);
    std::optional<mode_t> mode;
    struct stat info {};
    if (::fstatat(folder.fd(), folder.name().c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        // Renaming over a link would quietly turn it into a file.
        if (S_ISLNK(info.st_mode)) throwFileError("write file", folder.fullPath(), ELOOP);
        mode = info.st_mode & 07777;
    }
    AtomicFile::writeAt(folder.fd(), folder.name(), folder.fullPath(), bytes, mode);
}

void LocalFileStore::removeItem(const std::string& path) const {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) throwFileError("remove", path, errno);
    std::error_code error;
    std::filesystem::remove_all(path, error);
    if (error) throw std::filesystem::filesystem_error("remove", std::filesystem::path(path), error);
}

void LocalFileStore::createDirectory(const std::string& path) const {
    std::error_code error;
    std::filesystem::create_directories(path, error);
    if (error) throw std::filesystem::filesystem_error("create folder", std::filesystem::path(path), error);
    if (!isDirectory(path)) throwFileError("create folder", path, EEXIST);
}

std::vector<std::string> LocalFileStore::contentsOfDirectory(const std::string& path) const {
    DIR* listing = ::opendir(path.c_str());
    if (listing == nullptr) throwFileError("list folder", path, errno);
    std::vector<std::string> names;
    errno = 0;
    while (const dirent* entry = ::readdir(listing)) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names.emplace_back(entry->d_name);
        }
        errno = 0;
    }
    const int error = errno;
    ::closedir(listing);
    if (error != 0) throwFileError("list folder", path, error);
    return names;
}

bool LocalFileStore::isDirectory(const std::string& path) const {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string LocalFileStore::canonicalPath(const std::string& path) const {
    std::string resolved = std::filesystem::weakly_canonical(std::filesystem::absolute(path)).string();
    while (resolved.size() > 1 && resolved.ends_with('/')) resolved.pop_back();
    return resolved;
}

}  // namespace tarv::system
