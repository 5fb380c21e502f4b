#include "TarvStorage/Stores/JSONKeymapStore.hpp"

#include "TarvCore/Errors/ConfigurationError.hpp"
#include "TarvCore/Rules/KeymapRules.hpp"
#include "TarvCore/Text/StoredJSON.hpp"

#include <nlohmann/json.hpp>

namespace tarv::storage {

JSONKeymapStore::JSONKeymapStore(std::shared_ptr<core::FileStore> files, const std::string& configDirectory)
    : files_(std::move(files)), path_(configDirectory + "/keymap.json") {}

std::optional<core::KeymapFile> JSONKeymapStore::decode(std::string_view text) {
    const auto document = core::text::parseStoredJSON(text);
    if (document.is_discarded() || !document.is_object()) return std::nullopt;

    core::KeymapFile file;
    file.version = core::KeymapRules::currentVersion;
    if (const auto version = document.find("version"); version != document.end() && !version->is_null()) {
        if (!version->is_number_integer()) return std::nullopt;
        if (version->is_number_unsigned() && version->get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)) {
            return std::nullopt;
        }
        file.version = version->get<std::int64_t>();
    }
    const auto bindings = document.find("bindings");
    if (bindings == document.end() || !bindings->is_object()) return std::nullopt;
    for (const auto& [command, chords] : bindings->items()) {
        if (!chords.is_array()) return std::nullopt;
        std::vector<std::string> texts;
        for (const auto& chord : chords) {
            if (!chord.is_string()) return std::nullopt;
            texts.push_back(chord.get<std::string>());
        }
        file.bindings[command] = std::move(texts);
    }
    return file;
}

std::optional<core::KeymapFile> JSONKeymapStore::load() {
    const auto bytes = files_->readFile(path_);  // a read failure passes through unchanged
    if (!bytes) return std::nullopt;
    auto file = decode(core::byteView(*bytes));
    if (!file) throw core::ConfigurationError::malformed(path_);
    return file;
}

}  // namespace tarv::storage
