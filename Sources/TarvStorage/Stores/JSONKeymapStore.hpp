#pragma once

#include "TarvCore/Ports/FileStore.hpp"
#include "TarvCore/Ports/KeymapStore.hpp"

#include <memory>
#include <optional>
#include <string>

namespace tarv::storage {

// Reads the user's keymap file, "keymap.json" in the configuration folder:
// one JSON object with an optional integer "version" (absent or null: 1) and
// a required "bindings" object whose every value is an array of strings.
// Other keys are ignored. What the bindings mean is left to the keymap
// rules; the file is never written.
class JSONKeymapStore final : public core::KeymapStore {
public:
    JSONKeymapStore(std::shared_ptr<core::FileStore> files, const std::string& configDirectory);

    std::string path() const override { return path_; }

    // None without a file; the file store's error when it cannot be read;
    // ConfigurationError::malformed(path) when it is not a keymap document.
    std::optional<core::KeymapFile> load() override;

    // The document's content, or none when the text is not a keymap document.
    static std::optional<core::KeymapFile> decode(std::string_view text);

private:
    std::shared_ptr<core::FileStore> files_;
    std::string path_;
};

}  // namespace tarv::storage
