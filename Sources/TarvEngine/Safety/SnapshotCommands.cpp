#include "TarvEngine/Safety/SnapshotCommands.hpp"

#include <filesystem>

#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"

namespace tarv::engine {

namespace {

namespace fs = std::filesystem;

// Whether anything (a file, a folder, a link, even a dangling one) is at the
// path. Anything but a clear "nothing there" counts as present, so that git
// itself gets to save it or to fail.
bool presentInWorkingTree(const std::string& repository, const std::string& path) {
    std::error_code error;
    const fs::file_status status = fs::symlink_status(fs::path(repository) / fs::path(path), error);
    return status.type() != fs::file_type::not_found;
}

void removeQuietly(const core::FileStore& files, const std::string& path) {
    try {
        files.removeItem(path);
    } catch (...) {
    }
}

}  // namespace

std::string SnapshotCommands::create(const std::string& repository, const std::vector<std::string>& paths,
                                     std::int64_t now, std::stop_token stop) const {
    const std::string gitDirectory =
        write::trimmedOutput(executor.run({"rev-parse", "--absolute-git-dir"}, repository, stop));
    const std::string temporaryIndex =
        gitDirectory + "/tarv-snapshot-index-" + std::to_string(now) + "-" + std::to_string(paths.size());

    GitExecutor::Options snapshot = write::writing();
    snapshot.environment = {
        {"GIT_INDEX_FILE", temporaryIndex}, {"GIT_AUTHOR_NAME", authorName},      {"GIT_COMMITTER_NAME", authorName},
        {"GIT_AUTHOR_EMAIL", authorEmail},  {"GIT_COMMITTER_EMAIL", authorEmail},
    };
    GitExecutor::Options snapshotPaths = snapshot;
    for (const auto& [key, value] : GitEnvironment::literalPathspecs()) snapshotPaths.environment[key] = value;

    try {
        auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
        const bool hasHead = head.exitCode == 0;
        if (hasHead) {
            executor.run({"read-tree", "HEAD"}, repository, snapshot, stop);
        } else {
            executor.run({"read-tree", "--empty"}, repository, snapshot, stop);
        }

        // What is in the working tree is added, ignored or not ("-f"); what is
        // gone is recorded as gone. Any path git cannot add fails the
        // snapshot, and with it the discard.
        std::vector<std::string> present;
        std::vector<std::string> missing;
        for (const auto& path : paths) {
            (presentInWorkingTree(repository, path) ? present : missing).push_back(path);
        }
        write::runWithPathsOnInput(executor, {"add", "-A", "-f"}, present, repository, snapshotPaths, stop);
        write::runWithPathsOnInput(executor, {"rm", "--cached", "-q", "--ignore-unmatch"}, missing, repository,
                                   snapshotPaths, stop);

        const std::string tree = write::trimmedOutput(executor.run({"write-tree"}, repository, snapshot, stop));
        std::vector<std::string> commitArguments{"commit-tree", tree};
        if (hasHead) commitArguments.insert(commitArguments.end(), {"-p", "HEAD"});
        commitArguments.insert(commitArguments.end(), {"-m", "tarv snapshot"});
        const std::string commit = write::trimmedOutput(executor.run(commitArguments, repository, snapshot, stop));

        const std::string reference = "refs/tarv/snapshots/" + std::to_string(now) + "-" + commit.substr(0, 7);
        executor.run({"update-ref", reference, commit}, repository, write::writing(), stop);
        removeQuietly(*files, temporaryIndex);
        return reference;
    } catch (...) {
        removeQuietly(*files, temporaryIndex);
        throw;
    }
}

std::vector<std::string> SnapshotCommands::pathsTouchedBy(const std::vector<core::FileChange>& changes) {
    std::vector<std::string> paths;
    paths.reserve(changes.size());
    for (const auto& change : changes) {
        paths.push_back(change.path);
        if (change.kind == core::ChangeKind::renamed && change.originalPath) paths.push_back(*change.originalPath);
    }
    return paths;
}

void SnapshotCommands::discard(const std::string& repository, const std::vector<core::FileChange>& changes,
                               std::stop_token stop) const {
    std::vector<std::string> untracked;
    std::vector<std::string> toRemove;
    std::vector<std::string> toRestore;
    for (const auto& change : changes) {
        switch (change.kind) {
            case core::ChangeKind::untracked:
                untracked.push_back(change.path);
                break;
            case core::ChangeKind::added:
                toRemove.push_back(change.path);
                break;
            case core::ChangeKind::renamed:
                toRemove.push_back(change.path);
                if (change.originalPath) toRestore.push_back(*change.originalPath);
                break;
            case core::ChangeKind::copied:
                toRemove.push_back(change.path);
                break;
            case core::ChangeKind::modified:
            case core::ChangeKind::deleted:
            case core::ChangeKind::typeChanged:
                toRestore.push_back(change.path);
                break;
            case core::ChangeKind::conflicted:
                write::refuse(std::string(WriteMessages::conflictPrefix) + change.path +
                              std::string(WriteMessages::conflictSuffix));
        }
    }
    const GitExecutor::Options options = write::writingPaths();
    // "clean" cannot read paths from its input: its paths go in groups.
    write::runInGroups(executor, {"clean", "-f", "-q", "--"}, untracked, repository, options, stop);
    write::runWithPathsOnInput(executor, {"rm", "-f", "-q"}, toRemove, repository, options, stop);
    write::runWithPathsOnInput(executor, {"restore", "--source=HEAD", "--staged", "--worktree"}, toRestore, repository,
                               options, stop);
}

void SnapshotCommands::restore(const std::string& repository, const std::string& reference,
                               const std::vector<std::string>& paths, std::stop_token stop) const {
    // The paths go as arguments, in groups (PathChunks).
    write::runInGroups(executor, {"restore", "--source=" + reference, "--worktree", "--"}, paths, repository,
                       write::writingPaths(), stop);
}

}  // namespace tarv::engine
