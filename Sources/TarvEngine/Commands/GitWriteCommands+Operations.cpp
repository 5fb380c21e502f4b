#include <array>

#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvCore/Text/Utf8.hpp"
#include "TarvEngine/Commands/GitReadCommands.hpp"
#include "TarvEngine/Commands/GitWriteCommands.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Parsers/StatusParser.hpp"

namespace tarv::engine {

namespace {

using namespace std::chrono_literals;

// git's words for a stop on conflicts (git runs in the C locale).
constexpr std::array<std::string_view, 5> conflictPhrases = {"CONFLICT", "could not apply", "Automatic merge failed",
                                                             "fix conflicts", "Resolve all conflicts"};

bool mentionsConflicts(std::string_view output) {
    for (auto phrase : conflictPhrases) {
        if (output.find(phrase) != std::string_view::npos) return true;
    }
    return false;
}

// Standard output followed directly by standard error, as text.
std::string wholeOutput(const core::ProcessResult& result) {
    core::Bytes bytes = result.stdout;
    bytes.insert(bytes.end(), result.stderr.begin(), result.stderr.end());
    return core::text::decodeLossy(core::byteView(bytes));
}

std::string commandText(const std::vector<std::string>& arguments) {
    std::string text = "git";
    for (const auto& argument : arguments) {
        text += ' ';
        text += argument;
    }
    return text;
}

std::vector<std::string> pathsOf(const std::vector<core::FileChange>& files) {
    std::vector<std::string> paths;
    paths.reserve(files.size());
    for (const auto& file : files) paths.push_back(file.path);
    return paths;
}

const char* gitName(core::RepositoryOperation operation) {
    switch (operation) {
        case core::RepositoryOperation::merge:
            return "merge";
        case core::RepositoryOperation::rebase:
            return "rebase";
        case core::RepositoryOperation::cherryPick:
            return "cherry-pick";
        case core::RepositoryOperation::revert:
            return "revert";
    }
    return "merge";
}

}  // namespace

std::vector<core::FileChange> GitWriteCommands::conflictedFiles(const std::string& repository,
                                                                std::stop_token stop) const {
    auto status = executor.run({"status", "--porcelain=v2", "-z"}, repository, stop);
    return StatusParser::parse(status.stdoutBytes()).conflictedFiles();
}

core::OperationResult GitWriteCommands::outcome(const std::vector<std::string>& arguments,
                                                const std::string& repository,
                                                const std::map<std::string, std::string>& environment,
                                                std::stop_token stop) const {
    GitExecutor::Options options = write::writing({0, 1, 128});
    options.environment = environment;
    auto result = executor.run(arguments, repository, options, stop);
    if (result.exitCode == 0) return core::OperationResult::completed();
    const std::string output = wholeOutput(result);
    if (mentionsConflicts(output)) {
        return core::OperationResult::conflicts(pathsOf(conflictedFiles(repository, stop)));
    }
    throw core::GitError::commandFailed(commandText(arguments), result.exitCode, core::text::trimmed(output));
}

core::MergeResult GitWriteCommands::merge(const std::string& repository, const std::string& branch,
                                          std::stop_token stop) const {
    if (branch.find('/') == std::string::npos && !core::BranchNameRules::isValid(branch)) {
        write::refuse(WriteMessages::invalidBranchName, branch);
    }
    // A remote-tracking name is not a branch name, but it must still not
    // read as an option or carry white space.
    requireRevision(branch);

    auto result = executor.run({"merge", "--no-edit", branch}, repository, write::writing({0, 1}), stop);
    if (result.exitCode == 0) {
        const std::string_view out = result.stdoutBytes();
        if (out.find("Already up to date") != std::string_view::npos) return core::MergeResult::upToDate();
        if (out.find("Fast-forward") != std::string_view::npos) return core::MergeResult::fastForward();
        return core::MergeResult::merged();
    }
    const std::string output = wholeOutput(result);
    if (output.find("CONFLICT") != std::string::npos || output.find("Automatic merge failed") != std::string::npos) {
        return core::MergeResult::conflicts(pathsOf(conflictedFiles(repository, stop)));
    }
    throw core::GitError::commandFailed("git merge " + branch, result.exitCode, core::text::trimmed(output));
}

core::OperationResult GitWriteCommands::revert(const std::string& repository, const std::string& commit,
                                               std::stop_token stop) const {
    requireRevision(commit);
    return outcome({"revert", "--no-edit", commit}, repository, {}, stop);
}

core::OperationResult GitWriteCommands::cherryPick(const std::string& repository, const std::string& commit,
                                                   std::stop_token stop) const {
    requireRevision(commit);
    return outcome({"cherry-pick", commit}, repository, {}, stop);
}

void GitWriteCommands::reset(const std::string& repository, const std::string& target, core::ResetMode mode,
                             std::stop_token stop) const {
    requireRevision(target);
    // The recovery point comes first: no backup, no reset.
    executor.run({"update-ref", "refs/tarv/backups/pre-reset", "HEAD"}, repository, write::writing(), stop);
    executor.run({"reset", mode == core::ResetMode::soft ? "--soft" : "--mixed", "-q", target, "--"}, repository,
                 write::writing(), stop);
}

core::OperationResult GitWriteCommands::rebase(const std::string& repository, const std::string& onto,
                                               std::stop_token stop) const {
    requireRevision(onto);
    executor.run({"update-ref", "refs/tarv/backups/pre-rebase", "HEAD"}, repository, write::writing({0, 128}), stop);
    return outcome({"rebase", onto}, repository, {}, stop);
}

core::OperationResult GitWriteCommands::continueOperation(const std::string& repository, const core::FileStore& files,
                                                          const KeepChanges& keep, std::stop_token stop) const {
    const auto operation = GitReadCommands{executor}.operation(repository, files, stop);
    if (!operation) write::refuse(WriteMessages::noOperationInProgress);
    if (*operation == core::RepositoryOperation::merge) return outcome({"commit", "--no-edit"}, repository, {}, stop);

    auto staged = executor.run({"diff", "--cached", "--quiet"}, repository, write::reading({0, 1}), stop);
    if (staged.exitCode == 1) return outcome({gitName(*operation), "--continue"}, repository, {}, stop);
    // Nothing staged: the step's commit would be empty. git skips it with a
    // hard reset, which also throws away edits of other files: they are
    // kept first.
    keep();
    auto result = outcome({gitName(*operation), "--skip"}, repository, {}, stop);
    if (std::holds_alternative<core::OperationResult::Completed>(result.value)) {
        return core::OperationResult::completedSkippingEmpty();
    }
    return result;
}

void GitWriteCommands::abortOperation(const std::string& repository, const core::FileStore& files,
                                      const KeepChanges& keep, std::stop_token stop) const {
    const auto operation = GitReadCommands{executor}.operation(repository, files, stop);
    if (!operation) return;
    keep();
    executor.run({gitName(*operation), "--abort"}, repository, write::writing(), stop);
}

void GitWriteCommands::resolve(const std::string& repository, const std::string& path,
                               core::ConflictResolution resolution, const core::FileStore& files,
                               std::stop_token stop) const {
    const auto operation = GitReadCommands{executor}.operation(repository, files, stop);
    // During a rebase git's "ours" is the branch being rebased onto and
    // "theirs" the user's own commit being replayed.
    const bool rebasing = operation == core::RepositoryOperation::rebase;
    const bool ours = (resolution == core::ConflictResolution::mine) != rebasing;
    // The side that deleted the file has no version of it: taking that side
    // removes the file (a delete/modify conflict).
    if (isUnmergedWithout(repository, path, ours ? '2' : '3', stop)) {
        executor.run({"rm", "-f", "-q", "--", path}, repository, write::writingPaths(), stop);
        return;
    }
    executor.run({"checkout", ours ? "--ours" : "--theirs", "--", path}, repository, write::writingPaths(), stop);
    executor.run({"add", "-f", "--", path}, repository, write::writingPaths(), stop);
}

bool GitWriteCommands::isUnmergedWithout(const std::string& repository, const std::string& path, char stage,
                                         std::stop_token stop) const {
    GitExecutor::Options literal;
    literal.environment = GitEnvironment::literalPathspecs();
    auto entries = executor.run({"ls-files", "-u", "-z", "--", path}, repository, literal, stop);
    // Records "<mode> <id> <stage>\t<path>", each ended by a NUL.
    bool unmerged = false;
    bool hasStage = false;
    bytes::forEachPiece(entries.stdoutBytes(), '\0', [&](std::string_view record) {
        const std::size_t tab = record.find('\t');
        if (tab == std::string_view::npos || tab == 0) return;
        unmerged = true;
        if (record[tab - 1] == stage) hasStage = true;
    });
    return unmerged && !hasStage;
}

void GitWriteCommands::markResolved(const std::string& repository, const std::vector<std::string>& paths,
                                    std::stop_token stop) const {
    write::runWithPathsOnInput(executor, {"add", "-f"}, paths, repository, write::writingPaths(), stop);
}

}  // namespace tarv::engine
