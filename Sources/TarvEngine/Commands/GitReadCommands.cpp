#include "TarvEngine/Commands/GitReadCommands.hpp"

#include <variant>

#include "TarvCore/Concurrency/Siblings.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvCore/Errors/ProcessError.hpp"
#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvCore/Text/Utf8.hpp"
#include "TarvEngine/Parsers/StatusParser.hpp"

namespace tarv::engine {

namespace {

const GitExecutor::Options readOrAbsent{.allowedExitCodes = {0, 128}};

// A path printed by `rev-parse --git-path`: relative ones are relative to
// the folder git ran in.
std::string resolved(const std::string& path, std::string_view line) {
    if (line.starts_with('/')) return std::string(line);
    return path + "/" + std::string(line);
}

}  // namespace

std::optional<std::string> GitReadCommands::repositoryRoot(const std::string& path, std::stop_token stop) const {
    core::ProcessResult result;
    try {
        GitExecutor::Options lookup = readOrAbsent;
        lookup.searchesAbove = true;
        result = executor.run({"rev-parse", "--show-toplevel"}, path, lookup, stop);
    } catch (const core::ProcessError& error) {
        // A folder that does not exist cannot be entered: no repository.
        if (std::holds_alternative<core::ProcessError::SpawnFailed>(error.value)) return std::nullopt;
        throw;
    }
    if (result.exitCode != 0) {
        // A repository git will not read (its folder belongs to another
        // user) is refused in git's own words, with its safe.directory advice.
        std::string said = core::text::trimmed(result.stderrString());
        if (said.find("safe.directory") != std::string::npos) {
            throw core::GitError::commandFailed("git rev-parse --show-toplevel", result.exitCode, std::move(said));
        }
        return std::nullopt;
    }
    std::string_view root = core::text::trimmedView(result.stdoutBytes());
    if (root.empty()) return std::nullopt;
    return std::string(root);
}

core::WorkingTreeStatus GitReadCommands::status(const std::string& path, const core::FileStore& files,
                                                std::stop_token stop) const {
    auto [result, operation] = core::runSiblings(
        stop,
        [&](std::stop_token token) {
            return executor.run({"status", "--porcelain=v2", "-z", "--branch", "--untracked-files=all"}, path, token);
        },
        [&](std::stop_token token) { return this->operation(path, files, token); });
    core::WorkingTreeStatus status = StatusParser::parse(result.stdoutBytes());
    status.operation = operation;
    return status;
}

std::optional<core::RepositoryOperation> GitReadCommands::operation(const std::string& path,
                                                                    const core::FileStore& files,
                                                                    std::stop_token stop) const {
    auto result = executor.run({"rev-parse", "--git-path", "MERGE_HEAD", "--git-path", "rebase-merge", "--git-path",
                                "rebase-apply", "--git-path", "CHERRY_PICK_HEAD", "--git-path", "REVERT_HEAD"},
                               path, readOrAbsent, stop);
    auto lines = core::text::split(result.stdoutBytes(), '\n');
    if (lines.size() != 5) return std::nullopt;
    constexpr core::RepositoryOperation operations[] = {
        core::RepositoryOperation::merge, core::RepositoryOperation::rebase, core::RepositoryOperation::rebase,
        core::RepositoryOperation::cherryPick, core::RepositoryOperation::revert};
    for (std::size_t i = 0; i < 5; ++i) {
        if (files.fileExists(resolved(path, lines[i]))) return operations[i];
    }
    return std::nullopt;
}

std::optional<core::CommitMessage> GitReadCommands::headMessage(const std::string& path, std::stop_token stop) const {
    auto result = executor.run({"log", "-1", "--format=%B"}, path, readOrAbsent, stop);
    if (result.exitCode != 0) return std::nullopt;
    const std::string text = result.stdoutString();
    auto pieces = core::text::split(std::string_view(text), '\n', {.maxSplits = 1, .omittingEmpty = false});
    if (pieces.empty()) return std::nullopt;
    std::string summary = core::text::trimmed(pieces[0]);
    if (summary.empty()) return std::nullopt;
    std::string description = pieces.size() > 1 ? core::text::trimmed(pieces[1]) : std::string();
    return core::CommitMessage{std::move(summary), std::move(description), {}};
}

std::optional<std::string> GitReadCommands::pendingMergeMessage(const std::string& path, const core::FileStore& files,
                                                                std::stop_token stop) const {
    auto result = executor.run({"rev-parse", "--git-path", "MERGE_MSG"}, path, readOrAbsent, stop);
    std::string_view line = core::text::trimmedView(result.stdoutBytes());
    if (line.empty()) return std::nullopt;
    std::optional<core::Bytes> contents;
    try {
        contents = files.readFile(resolved(path, line));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (!contents) return std::nullopt;
    const std::string text = core::text::decodeLossy(core::byteView(*contents));
    std::string kept;
    bool first = true;
    for (std::string_view piece : core::text::split(std::string_view(text), '\n', {.omittingEmpty = false})) {
        if (piece.starts_with('#')) continue;
        if (!first) kept += '\n';
        kept += piece;
        first = false;
    }
    return core::text::trimmed(kept);
}

std::optional<std::string> GitReadCommands::remoteURL(const std::string& path, const std::string& remote,
                                                      std::stop_token stop) const {
    auto result =
        executor.run({"config", "--get", "remote." + remote + ".url"}, path, {.allowedExitCodes = {0, 1}}, stop);
    if (result.exitCode != 0) return std::nullopt;
    std::string url = core::text::trimmed(result.stdoutString());
    if (url.empty()) return std::nullopt;
    return url;
}

}  // namespace tarv::engine
