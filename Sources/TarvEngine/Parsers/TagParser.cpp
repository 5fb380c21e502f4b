#include "TarvEngine/Parsers/TagParser.hpp"

#include <string>

#include "TarvCore/Text/Split.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

std::vector<core::Tag> TagParser::parse(std::string_view output) {
    std::vector<core::Tag> tags;
    bytes::forEachPiece(output, '\n', [&](std::string_view line) {
        auto fields = core::text::split(line, '\0', {.omittingEmpty = false});
        if (fields.size() != 3 || fields[0].empty()) return;
        std::string_view commit = fields[1].empty() ? fields[2] : fields[1];
        if (commit.empty()) return;
        tags.push_back(core::Tag{std::string(fields[0]), std::string(commit)});
    });
    return tags;
}

}  // namespace tarv::engine
