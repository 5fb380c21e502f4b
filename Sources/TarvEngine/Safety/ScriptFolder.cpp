#include "TarvEngine/Safety/ScriptFolder.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <random>
#include <system_error>

namespace tarv::engine {

namespace {

[[noreturn]] void fail(const std::string& path, int error) {
    throw std::filesystem::filesystem_error("create private folder", std::filesystem::path(path),
                                            std::error_code(error, std::generic_category()));
}

}  // namespace

void ScriptFolder::create(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0) fail(path, errno);
    // The umask may have taken bits away; the folder gets exactly 0700.
    ::chmod(path.c_str(), 0700);
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 07777) != 0700) {
        ::rmdir(path.c_str());
        fail(path, EPERM);
    }
}

std::string ScriptFolder::newName() {
    std::random_device device;
    unsigned char bytes[16];
    for (std::size_t i = 0; i < sizeof bytes; i += 4) {
        const std::uint32_t word = device();
        for (std::size_t k = 0; k < 4; ++k) bytes[i + k] = static_cast<unsigned char>(word >> (8 * k));
    }
    bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);
    bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string name = "tarv-rebase-";
    for (std::size_t i = 0; i < sizeof bytes; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) name.push_back('-');
        name.push_back(digits[bytes[i] >> 4]);
        name.push_back(digits[bytes[i] & 0x0F]);
    }
    return name;
}

std::string ScriptFolder::shellQuoted(std::string_view text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out.push_back(c);
        }
    }
    out.push_back('\'');
    return out;
}

}  // namespace tarv::engine
