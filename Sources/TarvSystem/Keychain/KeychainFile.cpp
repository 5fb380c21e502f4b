#include "TarvSystem/Keychain/KeychainFile.hpp"

#include "TarvCore/Text/JSONNesting.hpp"
#include "TarvCore/Text/StoredJSON.hpp"

#include "TarvSystem/FileSystem/FileErrors.hpp"
#include "TarvSystem/FileSystem/FileReading.hpp"
#include "TarvSystem/Keychain/HexCoding.hpp"

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

std::string KeychainFile::encode(const std::vector<Item>& items) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& item : items) {
        list.push_back({{"service", item.service},
                        {"account", item.account},
                        {"label", item.label},
                        {"data", HexCoding::encode(item.data)}});
    }
    nlohmann::ordered_json document = {{"version", 1}, {"items", std::move(list)}};
    return document.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::vector<KeychainFile::Item> KeychainFile::decode(const std::string& text) {
    if (!core::text::jsonNestingWithin(text, core::text::storedJSONMaxDepth)) {
        throw Damaged("keychain file nested too deeply");
    }
    const auto document = core::text::parseStoredJSON(text);
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
        auto data = HexCoding::decode(text("data"));
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
        throwFileError("read keychain", path_, errno);
    }
    std::string text;
    if (!readToEnd(fd, text)) {
        const int error = errno;
        ::close(fd);
        throwFileError("read keychain", path_, error);
    }
    ::close(fd);
    return decode(text);
}

void KeychainFile::prepareFolder() const {
    const std::string folder = parentFolder(path_);
    std::vector<std::string> missing;
    for (std::string current = folder;;) {
        struct stat info {};
        if (::stat(current.c_str(), &info) == 0) break;
        if (errno != ENOENT) throwFileError("create keychain folder", current, errno);
        missing.push_back(current);
        const std::string parent = parentFolder(current);
        if (parent == current) break;
        current = parent;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (::mkdir(it->c_str(), 0700) != 0 && errno != EEXIST) throwFileError("create keychain folder", *it, errno);
    }
}

void KeychainFile::save(const std::vector<Item>& items) const {
    prepareFolder();
    const std::string text = encode(items);
    AtomicFile::write(path_, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}, 0600);
}

KeychainFile::FolderLock::FolderLock(const KeychainFile& file, bool exclusive) {
    fd_ = ::open(parentFolder(file.path()).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0) return;  // no folder yet: nothing to protect
    while (::flock(fd_, exclusive ? LOCK_EX : LOCK_SH) != 0 && errno == EINTR) {
    }
}

KeychainFile::FolderLock::~FolderLock() {
    if (fd_ >= 0) ::close(fd_);
}

}  // namespace tarv::system
