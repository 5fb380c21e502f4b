#include <set>
#include <utility>

#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Text/Trim.hpp"
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
        return DiffParser::parseOutput(std::move(result.stdout));
    }
    // Where the index holds HEAD's version of the path, the working file
    // against the index is the same diff as against HEAD, and a far cheaper
    // read: with a path given, `diff HEAD` may walk the whole index once per
    // entry of the path's folder (some 180 ms for one file of a 20,000-file
    // tree), `diff` only looks at the path.
    const bool indexIsHead = !change.hasStagedChanges && !change.originalPath && !change.isSubmodule &&
                             change.kind != core::ChangeKind::conflicted;
    if (indexIsHead) {
        auto result = executor.run({"diff", "--no-color", "--no-ext-diff", "-U3", "--", change.path}, path,
                                   {.environment = literal}, stop);
        return DiffParser::parseOutput(std::move(result.stdout));
    }
    std::vector<std::string> paths;
    if (change.originalPath) paths.push_back(*change.originalPath);
    paths.push_back(change.path);

    const auto against = [&](const std::string& base, const std::set<std::int32_t>& allowed) {
        std::vector<std::string> arguments{"diff", base, "-M", "--no-color", "--no-ext-diff", "-U3", "--"};
        arguments.insert(arguments.end(), paths.begin(), paths.end());
        return executor.run(arguments, path, {.environment = literal, .allowedExitCodes = allowed}, stop);
    };
    auto result = against("HEAD", {0, 128});
    if (result.exitCode == 0) return DiffParser::parseOutput(std::move(result.stdout));
    // A HEAD that exists and still failed (an unreadable object, say) is an
    // error; it must never be shown as the whole file added.
    const auto head = executor.run({"rev-parse", "--verify", "--quiet", "HEAD^{commit}"}, path,
                                   {.allowedExitCodes = {0, 1, 128}}, stop);
    if (head.exitCode == 0) {
        std::string command = "git diff HEAD --";
        for (const auto& file : paths) command += " " + file;
        throw core::GitError::commandFailed(std::move(command), result.exitCode,
                                            core::text::trimmed(result.stderrString()));
    }

    // No HEAD yet. Committing the file takes it as it is in the working
    // tree, staged or not, so that is what is compared with nothing (the
    // empty tree, whose id depends on the repository's hash).
    auto emptyTree = executor.run({"hash-object", "-t", "tree", "/dev/null"}, path, stop);
    auto unborn = against(core::text::trimmed(emptyTree.stdoutString()), {0});
    return DiffParser::parseOutput(std::move(unborn.stdout));
}

core::Diff GitReadCommands::diffOfCommit(const std::string& sha, const std::string& file, const std::string& path,
                                         std::stop_token stop) const {
    // The path is taken literally: "a[1].txt" must never also show "a1.txt".
    auto result = executor.run(
        {"show", "--no-color", "--no-ext-diff", "--format=", "-U3", "-m", "--first-parent", sha, "--", file}, path,
        {.environment = GitEnvironment::literalPathspecs()}, stop);
    return DiffParser::parseOutput(std::move(result.stdout));
}

}  // namespace tarv::engine
