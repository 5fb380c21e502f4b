#include "TarvEngine/Parsers/RefParser.hpp"

#include <string>

#include "TarvCore/Text/Split.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

namespace {

bool isTrackSeparator(char c) { return c == ' ' || c == '[' || c == ']' || c == ','; }

// "[ahead 2, behind 1]", "[ahead 2]", "[behind 1]", "[gone]" or nothing.
void readTrack(std::string_view text, std::int64_t& ahead, std::int64_t& behind) {
    std::vector<std::string_view> pieces;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isTrackSeparator(text[i])) ++i;
        std::size_t start = i;
        while (i < text.size() && !isTrackSeparator(text[i])) ++i;
        if (i > start) pieces.push_back(text.substr(start, i - start));
    }
    for (std::size_t k = 0; k + 1 < pieces.size(); ++k) {
        if (pieces[k] == "ahead") {
            ahead = bytes::decimal(pieces[k + 1]).value_or(0);
        } else if (pieces[k] == "behind") {
            behind = bytes::decimal(pieces[k + 1]).value_or(0);
        }
    }
}

}  // namespace

std::vector<core::Branch> RefParser::parse(std::string_view output) {
    std::vector<core::Branch> branches;
    bytes::forEachPiece(output, '\n', [&](std::string_view line) {
        auto fields = core::text::split(line, '\x1f', {.omittingEmpty = false});
        if (fields.size() != 6) return;
        if (fields[0].ends_with("/HEAD")) return;
        core::Branch branch;
        branch.name = std::string(fields[1]);
        branch.isRemote = fields[0].starts_with("refs/remotes/");
        branch.isCurrent = fields[5] == "*";
        if (!fields[2].empty()) branch.upstream = std::string(fields[2]);
        readTrack(fields[3], branch.ahead, branch.behind);
        branch.lastCommitTimestamp = bytes::decimal(fields[4]).value_or(0);
        branches.push_back(std::move(branch));
    });
    return branches;
}

}  // namespace tarv::engine
