#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tarv::core {

// The content of keymap.json: a format version and, per command identifier,
// the chord texts bound to it in the user's order.
struct KeymapFile {
    std::int64_t version = 1;
    std::map<std::string, std::vector<std::string>> bindings;

    bool operator==(const KeymapFile&) const = default;
};

}  // namespace tarv::core
