#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Parsers/RefParser.hpp"
#include "TarvEngine/Parsers/StashParser.hpp"
#include "TarvEngine/Parsers/TagParser.hpp"
#include "TarvEngine/Parsers/WorktreeParser.hpp"

namespace tarv::engine {

std::vector<core::Branch> GitReadCommands::branches(const std::string& path, std::stop_token stop) const {
    auto result = executor.run({"for-each-ref", "--sort=-committerdate", "--format=" + std::string(RefParser::format),
                                "refs/heads", "refs/remotes"},
                               path, stop);
    return RefParser::parse(result.stdoutBytes());
}

std::vector<core::StashEntry> GitReadCommands::stashes(const std::string& path, std::stop_token stop) const {
    auto result = executor.run({"stash", "list", "-z", "--format=" + std::string(StashParser::format)}, path, stop);
    return StashParser::parse(result.stdoutBytes());
}

std::vector<core::Tag> GitReadCommands::tags(const std::string& path, std::stop_token stop) const {
    auto result = executor.run(
        {"for-each-ref", "--sort=-creatordate", "--format=%(refname:short)%00%(*objectname)%00%(objectname)",
         "refs/tags"},
        path, stop);
    return TagParser::parse(result.stdoutBytes());
}

std::vector<core::Worktree> GitReadCommands::worktrees(const std::string& path, std::stop_token stop) const {
    auto result = executor.run({"worktree", "list", "--porcelain"}, path, stop);
    return WorktreeParser::parse(result.stdoutBytes());
}

}  // namespace tarv::engine
