#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "TarvCore/Text/HashCombine.hpp"

namespace tarv::core {

// One tag.
struct Tag {
    std::string name;
    // The commit id it points to (for an annotated tag, the commit it peels to).
    std::string commit;

    bool operator==(const Tag&) const = default;
};

}  // namespace tarv::core

template <>
struct std::hash<tarv::core::Tag> {
    std::size_t operator()(const tarv::core::Tag& t) const { return tarv::core::hashValues(t.name, t.commit); }
};
