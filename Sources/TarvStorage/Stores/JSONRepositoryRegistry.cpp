#include "TarvStorage/Stores/JSONRepositoryRegistry.hpp"

#include "TarvCore/Text/StoredJSON.hpp"

#include <nlohmann/json.hpp>

#include <chrono>

namespace tarv::storage {

namespace {

constexpr std::int64_t currentVersion = 1;

}  // namespace

JSONRepositoryRegistry::JSONRepositoryRegistry(std::shared_ptr<core::FileStore> files,
                                               const std::string& stateDirectory)
    : files_(std::move(files)), path_(stateDirectory + "/repositories.json") {}

std::optional<std::vector<core::RepositoryEntry>> JSONRepositoryRegistry::decode(std::string_view text) {
    const auto document = core::text::parseStoredJSON(text);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;
    const auto version = document.find("version");
    if (version == document.end() || !version->is_number_integer()) return std::nullopt;
    // A newer format is not read (0 and negative versions are).
    if (version->is_number_unsigned() ? version->get<std::uint64_t>() > 1 : version->get<std::int64_t>() > 1) {
        return std::nullopt;
    }
    const auto list = document.find("repositories");
    if (list == document.end() || !list->is_array()) return std::nullopt;
    std::vector<core::RepositoryEntry> entries;
    entries.reserve(list->size());
    for (const auto& element : *list) {
        auto entry = core::decodeRepositoryEntry(element.dump());
        if (!entry) return std::nullopt;  // one bad entry makes the whole file unusable
        entries.push_back(std::move(*entry));
    }
    return entries;
}

std::string JSONRepositoryRegistry::encode(const std::vector<core::RepositoryEntry>& entries) {
    // nlohmann::json keeps object keys sorted.
    nlohmann::json list = nlohmann::json::array();
    for (const auto& entry : entries) {
        nlohmann::json object = nlohmann::json::object();
        object["path"] = entry.path;
        object["name"] = entry.name;
        if (entry.remoteURL) object["remoteURL"] = *entry.remoteURL;
        object["lastOpened"] = entry.lastOpened;
        if (entry.isPrivate) object["isPrivate"] = *entry.isPrivate;
        list.push_back(std::move(object));
    }
    const nlohmann::json document = {{"repositories", std::move(list)}, {"version", currentVersion}};
    // JSON holds only UTF-8; a byte that is not is written as U+FFFD, as the
    // entry coding of the core does.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::vector<core::RepositoryEntry> JSONRepositoryRegistry::load(std::stop_token) {
    const auto bytes = files_->readFile(path_);
    if (!bytes) return {};
    return decode(core::byteView(*bytes)).value_or(std::vector<core::RepositoryEntry>{});
}

std::string JSONRepositoryRegistry::unusedAsideName() const {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    const std::string base = path_ + ".unreadable-" + std::to_string(seconds);
    std::string candidate = base;
    for (int n = 2; files_->fileExists(candidate); ++n) candidate = base + "-" + std::to_string(n);
    return candidate;
}

void JSONRepositoryRegistry::save(const std::vector<core::RepositoryEntry>& entries, std::stop_token) {
    // An existing file that load() could not use is kept before it is
    // replaced; if it cannot even be read, nothing is replaced.
    if (const auto existing = files_->readFile(path_); existing && !decode(core::byteView(*existing))) {
        files_->writeFile(unusedAsideName(), *existing);
    }
    files_->writeFile(path_, core::toBytes(encode(entries)));
}

}  // namespace tarv::storage
