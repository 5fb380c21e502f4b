#include "TarvEngine/Parsers/StatusParser.hpp"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Parsers/PathOrder.hpp"

namespace tarv::engine {

namespace {

using core::BranchStatus;
using core::ChangeKind;
using core::FileChange;

void parseHeader(std::string_view record, BranchStatus& branch) {
    std::string_view rest = record.substr(2);
    std::size_t space = rest.find(' ');
    if (space == std::string_view::npos) return;
    std::string_view key = rest.substr(0, space);
    std::string_view value = rest.substr(space + 1);
    if (key == "branch.oid") {
        if (value == "(initial)") {
            branch.objectID.reset();
        } else {
            branch.objectID = std::string(value);
        }
    } else if (key == "branch.head") {
        if (value == "(detached)") {
            branch.head.reset();
        } else {
            branch.head = std::string(value);
        }
    } else if (key == "branch.upstream") {
        branch.upstream = std::string(value);
    } else if (key == "branch.ab") {
        bytes::forEachPiece(value, ' ', [&](std::string_view piece) {
            if (piece.front() == '+') {
                branch.ahead = bytes::decimal(piece.substr(1)).value_or(0);
            } else if (piece.front() == '-') {
                branch.behind = bytes::decimal(piece.substr(1)).value_or(0);
            }
        });
    }
}

ChangeKind kind(char index, char worktree) {
    if (index == 'A') return ChangeKind::added;
    if (index == 'R') return ChangeKind::renamed;
    if (index == 'C') return ChangeKind::copied;
    char letter = worktree == '.' ? index : worktree;
    if (letter == 'D') return ChangeKind::deleted;
    if (letter == 'T') return ChangeKind::typeChanged;
    if (letter == 'A') return ChangeKind::added;
    return ChangeKind::modified;
}

FileChange change(std::string_view path, std::optional<std::string_view> original, std::string_view xy,
                  std::string_view submodule) {
    char x = xy.size() > 0 ? xy[0] : '.';
    char y = xy.size() > 1 ? xy[1] : '.';
    FileChange file{std::string(path), std::nullopt, kind(x, y), x != '.', y != '.', submodule.starts_with('S')};
    if (original) file.originalPath = std::string(*original);
    return file;
}

}  // namespace

core::WorkingTreeStatus StatusParser::parse(std::string_view output) {
    core::WorkingTreeStatus status;
    std::vector<FileChange>& files = status.files;
    files.reserve(bytes::count(output, '\0') + 1);

    // The records, NUL-separated, empty ones skipped; read one at a time.
    std::size_t position = 0;
    auto nextRecord = [&]() -> std::optional<std::string_view> {
        while (position < output.size()) {
            std::size_t end = output.find('\0', position);
            if (end == std::string_view::npos) end = output.size();
            std::string_view record = output.substr(position, end - position);
            position = end + 1;
            if (!record.empty()) return record;
        }
        return std::nullopt;
    };

    std::string_view fields[10];
    std::string_view path;
    while (auto next = nextRecord()) {
        std::string_view record = *next;
        if (record.starts_with("# ")) {
            parseHeader(record, status.branch);
        } else if (record.starts_with("1 ")) {
            if (bytes::takeFields(record, ' ', 8, fields, path)) files.push_back(change(path, std::nullopt, fields[1], fields[2]));
        } else if (record.starts_with("2 ")) {
            // The original path is the record that follows; a short record is
            // skipped alone and the next one read as a record of its own.
            if (bytes::takeFields(record, ' ', 9, fields, path)) files.push_back(change(path, nextRecord(), fields[1], fields[2]));
        } else if (record.starts_with("u ")) {
            if (bytes::takeFields(record, ' ', 10, fields, path)) {
                files.push_back(FileChange{std::string(path), std::nullopt, ChangeKind::conflicted, false, true});
            }
        } else if (record.starts_with("? ")) {
            files.push_back(FileChange{std::string(record.substr(2)), std::nullopt, ChangeKind::untracked, false, true});
        }
    }

    PathOrder::sort(files, [](const FileChange& file) -> const std::string& { return file.path; }, true);
    return status;
}

}  // namespace tarv::engine
