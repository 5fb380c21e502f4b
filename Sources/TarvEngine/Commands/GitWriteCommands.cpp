#include "TarvEngine/Commands/GitWriteCommands.hpp"

#include <filesystem>
#include <variant>

#include "TarvCore/Errors/RemoteFailure.hpp"
#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
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

}  // namespace

void GitWriteCommands::commit(const std::string& repository, const core::CommitMessage& message,
                              const core::CommitSelection& selection, bool amend, std::stop_token stop) const {
    if (!amend && selection.isEmpty()) write::refuse(WriteMessages::emptySelection);
    if (core::text::trimmedView(message.summary).empty()) write::refuse(WriteMessages::emptySummary);

    // While a merge is in progress its index (with the user's resolutions)
    // is the base; otherwise the index starts again from HEAD, so that it
    // holds the selection and nothing else.
    auto merge = executor.run({"rev-parse", "-q", "--verify", "MERGE_HEAD"}, repository, write::reading({0, 1}), stop);
    if (merge.exitCode != 0) {
        auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
        if (head.exitCode == 0) {
            executor.run({"reset", "-q"}, repository, write::writing(), stop);
        } else {
            executor.run({"read-tree", "--empty"}, repository, write::writing(), stop);
        }
    }

    write::runWithPathsOnInput(executor, {"add", "-A", "-f"}, selection.wholePaths, repository, write::writingPaths(),
                               stop);

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
