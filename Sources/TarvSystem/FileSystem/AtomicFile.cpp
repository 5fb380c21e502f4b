#include "TarvSystem/FileSystem/AtomicFile.hpp"

#include "TarvSystem/FileSystem/FileErrors.hpp"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
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

}  // namespace

void write(const std::string& path, std::span<const std::uint8_t> bytes, std::optional<mode_t> mode) {
    if (path.empty() || path.back() == '/') throwFileError("write file", path, EISDIR);
    const std::string folder = parentFolder(path);
    const mode_t createMode = mode ? (*mode & 0777) : 0666;

    std::string temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = folder + "/." + lastComponent(path) + ".tmp-" + randomSuffix();
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, createMode);
        if (fd < 0 && errno != EEXIST && errno != EINTR) throwFileError("create temporary file", temporary, errno);
    }
    if (fd < 0) throwFileError("create temporary file", temporary, EEXIST);

    auto abandon = [&](const char* what, int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throwFileError(what, path, error);
    };
    // The umask may have narrowed the bits; give the exact ones before any
    // content exists in the file.
    if (mode && ::fchmod(fd, *mode & 07777) != 0) abandon("set permissions", errno);
    if (!writeAll(fd, bytes)) abandon("write", errno);
    if (::fsync(fd) != 0) abandon("flush", errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throwFileError("close", path, error);
    }
    if (::rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        throwFileError("replace", path, error);
    }
    // Make the rename itself durable; a failure here changes nothing that a
    // reader could see, so it is not reported.
    const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        ::fsync(folderFd);
        ::close(folderFd);
    }
}

}  // namespace tarv::system::AtomicFile
