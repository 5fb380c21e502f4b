#include "TarvEngine/Commands/GitWriteCommands.hpp"

#include <filesystem>
#include <set>
#include <variant>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Parsers/GitFailureClassifier.hpp"
#include "TarvEngine/Patch/PatchBuilder.hpp"

namespace tarv::engine {

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The mode git would give the working file `path` when adding it: a link
// stays a link, an executable file stays executable unless the repository
// tells git not to trust executable bits.
std::string_view newFileMode(const GitExecutor& executor, const std::string& repository, const std::string& path,
                             std::stop_token stop) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(fs::path(repository) / fs::path(path), error);
    if (error) return PatchBuilder::regularMode;
    if (status.type() == fs::file_type::symlink) return PatchBuilder::symlinkMode;
    if (status.type() != fs::file_type::regular) return PatchBuilder::regularMode;
    if ((status.permissions() & fs::perms::owner_exec) == fs::perms::none) return PatchBuilder::regularMode;
    auto fileMode =
        executor.run({"config", "--type=bool", "--get", "core.fileMode"}, repository, write::reading({0, 1}), stop);
    if (write::trimmedOutput(fileMode) == "false") return PatchBuilder::regularMode;
    return PatchBuilder::executableMode;
}

// Adds to `paths` the original path of every staged rename whose new path
// is in it: committing only the new path would leave the old one in the
// commit, a copy instead of a move. Runs against the index as the user left
// it, before the commit rebuilds it.
void addRenameSources(const GitExecutor& executor, const std::string& repository, std::vector<std::string>& paths,
                      std::stop_token stop) {
    auto renames = executor.run({"diff", "--cached", "--name-status", "-z", "-M", "--diff-filter=R", "HEAD"},
                                repository, stop);
    // Records of three NUL-ended fields: status, original path, new path.
    std::vector<std::string_view> fields;
    bytes::forEachPiece(renames.stdoutBytes(), '\0', [&](std::string_view field) { fields.push_back(field); });
    const std::set<std::string_view> chosen(paths.begin(), paths.end());
    std::vector<std::string> sources;
    for (std::size_t i = 0; i + 2 < fields.size(); i += 3) {
        if (chosen.contains(fields[i + 2]) && !chosen.contains(fields[i + 1])) sources.emplace_back(fields[i + 1]);
    }
    paths.insert(paths.end(), sources.begin(), sources.end());
}

}  // namespace

void GitWriteCommands::commit(const std::string& repository, const core::CommitMessage& message,
                              const core::CommitSelection& selection, bool amend, std::stop_token stop) const {
    if (!amend && selection.isEmpty()) write::refuse(WriteMessages::emptySelection);
    if (core::text::trimmedView(message.summary).empty()) write::refuse(WriteMessages::emptySummary);

    // While a merge is in progress its index (with the user's resolutions)
    // is the base; otherwise the index starts again from HEAD, so that it
    // holds the selection and nothing else.
    std::vector<std::string> paths = selection.wholePaths;
    auto merge = executor.run({"rev-parse", "-q", "--verify", "MERGE_HEAD"}, repository, write::reading({0, 1}), stop);
    if (merge.exitCode != 0) {
        auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
        if (head.exitCode == 0) {
            if (!paths.empty()) addRenameSources(executor, repository, paths, stop);
            executor.run({"reset", "-q"}, repository, write::writing(), stop);
        } else {
            executor.run({"read-tree", "--empty"}, repository, write::writing(), stop);
        }
    }

    // What is in the working tree is added; what is gone is removed from the
    // index, and a path already gone from both (a deletion staged during a
    // merge) is a deletion to commit, not an error.
    std::vector<std::string> present;
    std::vector<std::string> missing;
    for (auto& path : paths) {
        (write::presentInWorkingTree(repository, path) ? present : missing).push_back(std::move(path));
    }
    write::runWithPathsOnInput(executor, {"add", "-A", "-f"}, present, repository, write::writingPaths(), stop);
    write::runWithPathsOnInput(executor, {"rm", "--cached", "-r", "-f", "-q", "--ignore-unmatch"}, missing, repository,
                               write::writingPaths(), stop);

    // The patches of all partial files go to one "apply", which takes all of
    // them or none (one git process however many files).
    std::string patches;
    for (const auto& partial : selection.partials) {
        const std::string_view mode =
            partial.isNewFile ? newFileMode(executor, repository, partial.path, stop) : PatchBuilder::regularMode;
        if (auto patch = PatchBuilder::patch(partial.path, partial.isNewFile, partial.diff, partial.lines, mode)) {
            patches += *patch;
        }
    }
    if (!patches.empty()) {
        GitExecutor::Options options = write::writing();
        options.stdin = core::toBytes(patches);
        executor.run({"apply", "--cached", "--recount", "--whitespace=nowarn", "-"}, repository, options, stop);
    }

    std::vector<std::string> arguments{"commit", "-q"};
    if (amend) arguments.push_back("--amend");
    arguments.insert(arguments.end(), {"-F", "-"});
    GitExecutor::Options options = write::writing({0}, 300s);
    options.stdin = core::toBytes(message.fullText());
    try {
        executor.run(arguments, repository, options, stop);
    } catch (const core::GitError& error) {
        if (const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value)) {
            if (auto local = GitFailureClassifier::classifyLocal(failed->stderr)) throw *local;
        }
        throw;
    }
}

void GitWriteCommands::amend(const std::string& repository, const core::CommitMessage& message,
                             const core::CommitSelection& selection, std::stop_token stop) const {
    auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
    if (head.exitCode != 0) write::refuse(WriteMessages::nothingToAmend);
    commit(repository, message, selection, true, stop);
}

void GitWriteCommands::initRepository(const std::string& path, std::stop_token stop) const {
    auto configured = executor.run({"config", "--get", "init.defaultBranch"}, path, write::reading({0, 1}), stop);
    if (!write::trimmedOutput(configured).empty()) {
        executor.run({"init", "-q"}, path, write::writing(), stop);
    } else {
        executor.run({"init", "-q", "-b", "main"}, path, write::writing(), stop);
    }
}

}  // namespace tarv::engine
