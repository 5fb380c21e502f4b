#include "TarvEngine/Parsers/LogParser.hpp"

#include <string>

#include "TarvCore/Text/Trim.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

std::vector<core::Commit> LogParser::parse(std::string_view output) {
    std::vector<core::Commit> commits;
    bytes::forEachPiece(output, '\0', [&](std::string_view record) {
        std::string_view fields[5];
        std::string_view summary;
        if (!bytes::takeFields(record, '\x1f', 5, fields, summary)) return;
        auto timestamp = bytes::decimal(fields[4]);
        if (!timestamp) return;
        core::Commit commit;
        commit.sha = std::string(core::text::trimmedView(fields[0]));
        bytes::forEachPiece(fields[1], ' ', [&](std::string_view parent) { commit.parents.emplace_back(parent); });
        commit.authorName = std::string(fields[2]);
        commit.authorEmail = std::string(fields[3]);
        commit.timestamp = *timestamp;
        commit.summary = std::string(summary);
        commits.push_back(std::move(commit));
    });
    return commits;
}

}  // namespace tarv::engine
