#include "TarvSystem/Keychain/KeychainFile.hpp"

#include "TarvSystem/FileSystem/AtomicFile.hpp"

#include <nlohmann/json.hpp>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tarv::system {

namespace {

[[noreturn]] void fail(const char* what, const std::string& path, int error) {
    throw std::filesystem::filesystem_error(what, std::filesystem::path(path),
                                            std::error_code(error, std::generic_category()));
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

constexpr char hexDigits[] = "0123456789abcdef";

std::string toHex(const std::vector<std::uint8_t>& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const auto byte : bytes) {
        text += hexDigits[byte >> 4];
        text += hexDigits[byte & 0x0F];
    }
    return text;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::vector<std::uint8_t>> fromHex(const std::string& text) {
    if (text.size() % 2 != 0) return std::nullopt;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(text.size() / 2);
    for (std::size_t i = 0; i < text.size(); i += 2) {
        const int high = hexValue(text[i]);
        const int low = hexValue(text[i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return bytes;
}

}  // namespace

std::string KeychainFile::encode(const std::vector<Item>& items) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& item : items) {
        list.push_back({{"service", item.service},
                        {"account", item.account},
                        {"label", item.label},
                        {"data", toHex(item.data)}});
    }
    nlohmann::ordered_json document = {{"version", 1}, {"items", std::move(list)}};
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::vector<KeychainFile::Item> KeychainFile::decode(const std::string& text) {
    const auto document = nlohmann::json::parse(text, nullptr, false);
    if (document.is_discarded() || !document.is_object()) throw Damaged("not a keychain item file");
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer()) throw Damaged("keychain file without a version");
    if (version->get<std::int64_t>() != 1) throw Damaged("keychain file of an unknown version");
    const auto list = document.find("items");
    if (list == document.end() || !list->is_array()) throw Damaged("keychain file without items");
    std::vector<Item> items;
    for (const auto& entry : *list) {
        auto text = [&](const char* key) -> std::string {
            const auto found = entry.is_object() ? entry.find(key) : entry.end();
            if (found == entry.end() || !found->is_string()) throw Damaged("keychain item without " + std::string(key));
            return found->get<std::string>();
        };
        Item item{text("service"), text("account"), text("label"), {}};
        auto data = fromHex(text("data"));
        if (!data) throw Damaged("keychain item with bad data");
        item.data = std::move(*data);
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<KeychainFile::Item> KeychainFile::load() const {
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return {};
        fail("read keychain", path_, errno);
    }
    std::string text;
    char buffer[16 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            fail("read keychain", path_, error);
        }
        if (n == 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return decode(text);
}

void KeychainFile::prepareFolder() const {
    const std::string folder = folderOf(path_);
    std::vector<std::string> missing;
    for (std::string current = folder;;) {
        struct stat info {};
        if (::stat(current.c_str(), &info) == 0) break;
        if (errno != ENOENT) fail("create keychain folder", current, errno);
        missing.push_back(current);
        const std::string parent = folderOf(current);
        if (parent == current) break;
        current = parent;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) fail("create keychain folder", *it, errno);
    }
}

void KeychainFile::save(const std::vector<Item>& items) const {
    prepareFolder();
    const std::string text = encode(items);
    AtomicFile::write(path_, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 0600);
}

KeychainFile::FolderLock::FolderLock(const KeychainFile& file, bool exclusive) {
    fd_ = ::open(folderOf(file.path()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;  // no folder yet: nothing to protect
    while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
    }
}

KeychainFile::FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarv::system
