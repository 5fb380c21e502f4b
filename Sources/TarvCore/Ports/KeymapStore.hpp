#pragma once

#include "TarvCore/Models/KeymapFile.hpp"

#include <optional>
#include <string>

namespace tarv::core {

// The user's keymap file.
class KeymapStore {
public:
    virtual ~KeymapStore() = default;

    // Where the keymap file lives.
    virtual std::string path() const = 0;

    // The file's content; none when the file does not exist. Throws
    // ConfigurationError::malformed when it exists but cannot be read as a
    // keymap.
    virtual std::optional<KeymapFile> load() = 0;
};

}  // namespace tarv::core
