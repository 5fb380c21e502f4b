#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Environment/GitEnvironment.hpp"
#include "TarvEngine/Parsers/DiffParser.hpp"

namespace tarv::engine {

core::Diff GitReadCommands::diff(const std::string& path, const core::FileChange& change, std::stop_token stop) const {
    // Every command here names files: literal pathspecs, so "a[1].txt" is
    // that file and never a pattern that also selects "a1.txt".
    const auto& literal = GitEnvironment::literalPathspecs();
    if (change.kind == core::ChangeKind::untracked) {
        auto result = executor.run({"diff", "--no-index", "--no-color", "--no-ext-diff", "-U3", "--", "/dev/null",
                                    change.path},
                                   path, {.environment = literal, .allowedExitCodes = {0, 1}}, stop);
        return DiffParser::parse(result.stdoutBytes());
    }
    std::vector<std::string> paths;
    if (change.originalPath) paths.push_back(*change.originalPath);
    paths.push_back(change.path);

    std::vector<std::string> arguments{"diff", "HEAD", "-M", "--no-color", "--no-ext-diff", "-U3", "--"};
    arguments.insert(arguments.end(), paths.begin(), paths.end());
    auto result = executor.run(arguments, path, {.environment = literal, .allowedExitCodes = {0, 128}}, stop);
    if (result.exitCode == 0) return DiffParser::parse(result.stdoutBytes());

    // No HEAD yet: what is staged is all there is to compare.
    std::vector<std::string> cached{"diff", "--cached", "--no-color", "--no-ext-diff", "-U3", "--"};
    cached.insert(cached.end(), paths.begin(), paths.end());
    auto staged = executor.run(cached, path, {.environment = literal}, stop);
    return DiffParser::parse(staged.stdoutBytes());
}

core::Diff GitReadCommands::diffOfCommit(const std::string& sha, const std::string& file, const std::string& path,
                                         std::stop_token stop) const {
    // The path is taken literally: "a[1].txt" must never also show "a1.txt".
    auto result = executor.run(
        {"show", "--no-color", "--no-ext-diff", "--format=", "-U3", "-m", "--first-parent", sha, "--", file}, path,
        {.environment = GitEnvironment::literalPathspecs()}, stop);
    return DiffParser::parse(result.stdoutBytes());
}

}  // namespace tarv::engine
