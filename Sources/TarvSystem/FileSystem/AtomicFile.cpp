#include "TarvSystem/FileSystem/AtomicFile.hpp"

#include "TarvSystem/FileSystem/FileErrors.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarv::system::AtomicFile {

namespace {

std::string lastComponent(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string randomSuffix() {
    static thread_local std::mt19937_64 generator{std::random_device{}()};
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(generator()));
    return text;
}

bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + offset, bytes.size() - offset);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        offset += static_cast<std::size_t>(n);
    }
    return true;
}

// Where the new content goes: names are looked up in `folder` (AT_FDCWD
// for the process's folder), the temporary file beside `name`.
struct Target {
    int folder;
    std::string temporaryPrefix;  // the folder part of the temporary file's name, "" or ending in "/"
    std::string name;
    const std::string& path;
};

void replace(const Target& target, std::span<const std::uint8_t> bytes, std::optional<mode_t> mode,
             const std::function<void()>& flushFolder) {
    const mode_t createMode = mode ? (*mode & 0777) : 0666;
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target.temporaryPrefix + "." + lastComponent(target.name) + ".tmp-" + randomSuffix();
        fd = ::openat(target.folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                      createMode);
        if (fd < 0 && errno != EEXIST && errno != EINTR) throwFileError("create temporary file", temporary, errno);
    }
    if (fd < 0) throwFileError("create temporary file", temporary, EEXIST);

    auto abandon = [&](const char* what, int error) {
        ::close(fd);
        ::unlinkat(target.folder, temporary.c_str(), 0);
        throwFileError(what, target.path, error);
    };
    // The umask may have narrowed the bits; give the exact ones before any
    // content exists in the file.
    if (mode && ::fchmod(fd, *mode & 07777) != 0) abandon("set permissions", errno);
    if (!writeAll(fd, bytes)) abandon("write", errno);
    if (::fsync(fd) != 0) abandon("flush", errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlinkat(target.folder, temporary.c_str(), 0);
        throwFileError("close", target.path, error);
    }
    if (::renameat(target.folder, temporary.c_str(), target.folder, target.name.c_str()) != 0) {
        const int error = errno;
        ::unlinkat(target.folder, temporary.c_str(), 0);
        throwFileError("replace", target.path, error);
    }
    // Make the rename itself durable; a failure here changes nothing that a
    // reader could see, so it is not reported.
    flushFolder();
}

}  // namespace

void write(const std::string& path, std::span<const std::uint8_t> bytes, std::optional<mode_t> mode) {
    if (path.empty() || path.back() == '/') throwFileError("write file", path, EISDIR);
    const std::string folder = parentFolder(path);
    replace({AT_FDCWD, folder + "/", path, path}, bytes, mode, [&] {
        const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (folderFd >= 0) {
            ::fsync(folderFd);
            ::close(folderFd);
        }
    });
}

void writeAt(int folder, const std::string& name, const std::string& path, std::span<const std::uint8_t> bytes,
             std::optional<mode_t> mode) {
    if (name.empty() || name.find('/') != std::string::npos) throwFileError("write file", path, EINVAL);
    replace({folder, "", name, path}, bytes, mode, [&] { ::fsync(folder); });
}

}  // namespace tarv::system::AtomicFile
