#include "TarvEngine/Parsers/CommitFilesParser.hpp"

#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Parsers/PathOrder.hpp"

namespace tarv::engine {

namespace {

struct Counts {
    std::optional<std::int64_t> additions;
    std::optional<std::int64_t> deletions;
};

core::ChangeKind kindOf(std::string_view status) {
    switch (status.empty() ? '\0' : status.front()) {
        case 'A': return core::ChangeKind::added;
        case 'D': return core::ChangeKind::deleted;
        case 'T': return core::ChangeKind::typeChanged;
        case 'R': return core::ChangeKind::renamed;
        case 'C': return core::ChangeKind::copied;
        default: return core::ChangeKind::modified;
    }
}

}  // namespace

std::vector<core::CommitFile> CommitFilesParser::parse(std::string_view nameStatus, std::string_view numstat) {
    std::unordered_map<std::string_view, Counts> counts;
    bytes::forEachPiece(numstat, '\0', [&](std::string_view record) {
        std::string_view fields[2];
        std::string_view path;
        if (!bytes::takeFields(record, '\t', 2, fields, path)) return;
        counts[path] = Counts{bytes::decimal(fields[0]), bytes::decimal(fields[1])};
    });

    std::vector<std::string_view> tokens;
    bytes::forEachPiece(nameStatus, '\0', [&](std::string_view token) { tokens.push_back(token); });

    std::vector<core::CommitFile> files;
    files.reserve(tokens.size() / 2);
    for (std::size_t i = 0; i + 1 < tokens.size(); i += 2) {
        std::string_view path = tokens[i + 1];
        core::CommitFile file{std::string(path), kindOf(tokens[i]), std::nullopt, std::nullopt};
        if (auto found = counts.find(path); found != counts.end()) {
            file.additions = found->second.additions;
            file.deletions = found->second.deletions;
        }
        files.push_back(std::move(file));
    }
    PathOrder::sort(files, [](const core::CommitFile& file) -> const std::string& { return file.path; }, false);
    return files;
}

}  // namespace tarv::engine
