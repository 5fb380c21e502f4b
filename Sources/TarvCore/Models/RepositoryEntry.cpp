#include "TarvCore/Models/RepositoryEntry.hpp"

#include "TarvCore/Rules/RemoteURLParser.hpp"
#include "TarvCore/Text/HashCombine.hpp"
#include "TarvCore/Text/StoredJSON.hpp"

#include <nlohmann/json.hpp>

#include <limits>

namespace tarv::core {

std::optional<std::string> RepositoryEntry::owner() const {
    if (!remoteURL) return std::nullopt;
    auto parsed = RemoteURLParser::parse(*remoteURL);
    if (!parsed) return std::nullopt;
    return std::move(parsed->owner);
}

std::optional<std::string> RepositoryEntry::host() const {
    if (!remoteURL) return std::nullopt;
    auto parsed = RemoteURLParser::parse(*remoteURL);
    if (!parsed) return std::nullopt;
    return std::move(parsed->host);
}

std::string encodeJSON(const RepositoryEntry& entry) {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    object["path"] = entry.path;
    object["name"] = entry.name;
    if (entry.remoteURL) object["remoteURL"] = *entry.remoteURL;
    object["lastOpened"] = entry.lastOpened;
    if (entry.isPrivate) object["isPrivate"] = *entry.isPrivate;
    return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::optional<RepositoryEntry> decodeRepositoryEntry(std::string_view text) {
    const nlohmann::json object = text::parseStoredJSON(text);
    if (object.is_discarded() || !object.is_object()) return std::nullopt;

    auto required = [&](const char* key) -> const nlohmann::json* {
        const auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    };
    auto optional = [&](const char* key) -> const nlohmann::json* {
        const auto it = object.find(key);
        return (it == object.end() || it->is_null()) ? nullptr : &*it;
    };

    const nlohmann::json* path = required("path");
    const nlohmann::json* name = required("name");
    const nlohmann::json* lastOpened = required("lastOpened");
    if (path == nullptr || !path->is_string() || name == nullptr || !name->is_string()) return std::nullopt;
    if (lastOpened == nullptr || !lastOpened->is_number_integer()) return std::nullopt;
    if (lastOpened->is_number_unsigned() &&
        lastOpened->get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }

    RepositoryEntry entry;
    entry.path = path->get<std::string>();
    entry.name = name->get<std::string>();
    entry.lastOpened = lastOpened->get<std::int64_t>();
    if (const nlohmann::json* url = optional("remoteURL")) {
        if (!url->is_string()) return std::nullopt;
        entry.remoteURL = url->get<std::string>();
    }
    if (const nlohmann::json* isPrivate = optional("isPrivate")) {
        if (!isPrivate->is_boolean()) return std::nullopt;
        entry.isPrivate = isPrivate->get<bool>();
    }
    return entry;
}

}  // namespace tarv::core

std::size_t std::hash<tarv::core::RepositoryEntry>::operator()(const tarv::core::RepositoryEntry& entry) const noexcept {
    return tarv::core::hashValues(entry.path, entry.name, entry.remoteURL, entry.lastOpened, entry.isPrivate);
}
