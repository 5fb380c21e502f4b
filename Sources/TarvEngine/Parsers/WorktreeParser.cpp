#include "TarvEngine/Parsers/WorktreeParser.hpp"

#include <optional>
#include <string>

#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

namespace {

// Pieces of `text` between occurrences of "\n\n", empty pieces dropped.
template <class F>
void forEachBlock(std::string_view text, F&& fn) {
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find("\n\n", start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) fn(text.substr(start, end - start));
        if (end == text.size()) break;
        start = end + 2;
    }
}

}  // namespace

std::vector<core::Worktree> WorktreeParser::parse(std::string_view output) {
    std::vector<core::Worktree> worktrees;
    std::size_t number = 0;
    forEachBlock(output, [&](std::string_view block) {
        const bool isFirst = number == 0;
        ++number;
        std::optional<std::string_view> path;
        std::string_view head;
        std::optional<std::string_view> branch;
        bool bare = false;
        bytes::forEachPiece(block, '\n', [&](std::string_view line) {
            if (line.starts_with("worktree ")) {
                path = line.substr(9);
            } else if (line.starts_with("HEAD ")) {
                head = line.substr(5);
            } else if (line.starts_with("branch refs/heads/")) {
                branch = line.substr(18);
            } else if (line == "bare") {
                bare = true;
            }
        });
        if (!path || bare) return;
        core::Worktree worktree;
        worktree.path = std::string(*path);
        if (branch) worktree.branch = std::string(*branch);
        worktree.head = std::string(head);
        worktree.isMain = isFirst;
        worktrees.push_back(std::move(worktree));
    });
    return worktrees;
}

}  // namespace tarv::engine
