#pragma once

#include <string_view>
#include <vector>

#include "TarvCore/Models/Tag.hpp"

namespace tarv::engine {

// Reads the tag listing `git for-each-ref --sort=-creatordate
// --format=%(refname:short)%00%(*objectname)%00%(objectname) refs/tags` into
// tags with the commit each one points to (an annotated tag's peeled commit).
struct TagParser {
    static std::vector<core::Tag> parse(std::string_view output);
};

}  // namespace tarv::engine
