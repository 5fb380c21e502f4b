#include "TarvEngine/Safety/SnapshotCommands.hpp"

#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"

namespace tarv::engine {

namespace {

constexpr std::string_view indexSubject = "tarv snapshot index";

void removeQuietly(const core::FileStore& files, const std::string& path) {
    try {
        files.removeItem(path);
    } catch (...) {
    }
}

// The options of the git calls that build one tree in the temporary index
// `index`: its plain form and the one for calls that name paths.
struct TreeBuild {
    GitExecutor::Options plain;
    GitExecutor::Options naming;

    explicit TreeBuild(const std::string& index) {
        plain = write::writing();
        plain.environment = {
            {"GIT_INDEX_FILE", index},
            {"GIT_AUTHOR_NAME", SnapshotCommands::authorName},
            {"GIT_COMMITTER_NAME", SnapshotCommands::authorName},
            {"GIT_AUTHOR_EMAIL", SnapshotCommands::authorEmail},
            {"GIT_COMMITTER_EMAIL", SnapshotCommands::authorEmail},
        };
        naming = plain;
        for (const auto& [key, value] : GitEnvironment::literalPathspecs()) naming.environment[key] = value;
    }
};

// Starts the temporary index from HEAD's tree, or empty before the first
// commit.
void startFromHead(const GitExecutor& executor, const std::string& repository, bool hasHead, const TreeBuild& build,
                   std::stop_token stop) {
    if (hasHead) {
        executor.run({"read-tree", "HEAD"}, repository, build.plain, stop);
    } else {
        executor.run({"read-tree", "--empty"}, repository, build.plain, stop);
    }
}

// HEAD's tree with `paths` as they are in the working tree.
std::string workingTree(const GitExecutor& executor, const std::string& repository,
                        const std::vector<std::string>& paths, bool hasHead, const TreeBuild& build,
                        std::stop_token stop) {
    startFromHead(executor, repository, hasHead, build, stop);
    // What is in the working tree is added, ignored or not ("-f"); what is
    // gone is recorded as gone. Any path git cannot add fails the snapshot,
    // and with it the discard.
    std::vector<std::string> present;
    std::vector<std::string> missing;
    for (const auto& path : paths) {
        (write::presentInWorkingTree(repository, path) ? present : missing).push_back(path);
    }
    write::runWithPathsOnInput(executor, {"add", "-A", "-f"}, present, repository, build.naming, stop);
    write::runWithPathsOnInput(executor, {"rm", "--cached", "-q", "--ignore-unmatch"}, missing, repository,
                               build.naming, stop);
    return write::trimmedOutput(executor.run({"write-tree"}, repository, build.plain, stop));
}

// HEAD's tree with `paths` as they are in the user's index: their staged
// versions, or their absence. The user's index is only read.
std::string stagedTree(const GitExecutor& executor, const std::string& repository,
                       const std::vector<std::string>& paths, bool hasHead, const TreeBuild& build,
                       std::stop_token stop) {
    startFromHead(executor, repository, hasHead, build, stop);
    // The merged entries (stage 0) of the paths, as "<mode> <id> 0\t<path>"
    // records that --index-info takes back as they are.
    std::string staged;
    GitExecutor::Options reading;
    reading.environment = GitEnvironment::literalPathspecs();
    for (auto group : PathChunks::split(paths)) {
        auto listed = executor.run(PathChunks::arguments({"ls-files", "-s", "-z", "--"}, group), repository, reading,
                                   stop);
        bytes::forEachPiece(listed.stdoutBytes(), '\0', [&](std::string_view record) {
            const std::size_t tab = record.find('\t');
            if (tab == std::string_view::npos || tab == 0 || record[tab - 1] != '0') return;
            staged.append(record);
            staged.push_back('\0');
        });
    }
    if (!paths.empty()) {
        std::string removed;
        for (const auto& path : paths) removed.append(path).push_back('\0');
        GitExecutor::Options remove = build.plain;
        remove.stdin = core::toBytes(removed);
        executor.run({"update-index", "--force-remove", "-z", "--stdin"}, repository, remove, stop);
    }
    if (!staged.empty()) {
        GitExecutor::Options add = build.plain;
        add.stdin = core::toBytes(staged);
        executor.run({"update-index", "-z", "--index-info"}, repository, add, stop);
    }
    return write::trimmedOutput(executor.run({"write-tree"}, repository, build.plain, stop));
}

}  // namespace

std::string SnapshotCommands::create(const std::string& repository, const std::vector<std::string>& paths,
                                     std::int64_t now, std::stop_token stop) const {
    const std::string gitDirectory =
        write::trimmedOutput(executor.run({"rev-parse", "--absolute-git-dir"}, repository, stop));
    const std::string workingIndex =
        gitDirectory + "/tarv-snapshot-index-" + std::to_string(now) + "-" + std::to_string(paths.size());
    const std::string stagedIndex = workingIndex + "-staged";
    const auto removeIndexes = [&] {
        removeQuietly(*files, workingIndex);
        removeQuietly(*files, stagedIndex);
    };

    try {
        auto head = executor.run({"rev-parse", "--verify", "-q", "HEAD"}, repository, write::reading({0, 1}), stop);
        const bool hasHead = head.exitCode == 0;
        const TreeBuild working(workingIndex);
        const TreeBuild index(stagedIndex);
        const std::string worktree = workingTree(executor, repository, paths, hasHead, working, stop);
        const std::string staged = stagedTree(executor, repository, paths, hasHead, index, stop);

        const auto commitTree = [&](const std::string& tree, const std::vector<std::string>& parents,
                                    std::string_view subject) {
            std::vector<std::string> arguments{"commit-tree", tree};
            for (const auto& parent : parents) arguments.insert(arguments.end(), {"-p", parent});
            arguments.insert(arguments.end(), {"-m", std::string(subject)});
            return write::trimmedOutput(executor.run(arguments, repository, working.plain, stop));
        };
        std::vector<std::string> parents;
        if (hasHead) parents.push_back("HEAD");
        const std::string stagedCommit = commitTree(staged, parents, indexSubject);
        parents.push_back(stagedCommit);
        const std::string commit = commitTree(worktree, parents, "tarv snapshot");

        const std::string reference = "refs/tarv/snapshots/" + std::to_string(now) + "-" + commit.substr(0, 7);
        executor.run({"update-ref", reference, commit}, repository, write::writing(), stop);
        removeIndexes();
        return reference;
    } catch (...) {
        removeIndexes();
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
    // The working files first (the paths go as arguments, in groups), while
    // the index still knows every path the discard brought back.
    write::runInGroups(executor, {"restore", "--source=" + reference, "--worktree", "--"}, paths, repository,
                       write::writingPaths(), stop);
    // Then the staged versions, when the snapshot kept them.
    if (auto staged = stagedCommit(repository, reference, stop)) {
        write::runWithPathsOnInput(executor, {"reset", "-q", *staged}, paths, repository, write::writingPaths(), stop);
    }
}

std::optional<std::string> SnapshotCommands::stagedCommit(const std::string& repository,
                                                          const std::string& reference, std::stop_token stop) const {
    // Its last parent: the second after HEAD, the only one before the first
    // commit. A snapshot with HEAD as its only parent kept no index.
    auto listed = executor.run({"show", "-s", "--format=%P", "--end-of-options", reference}, repository, stop);
    std::vector<std::string> parents;
    bytes::forEachPiece(write::trimmedOutput(listed), ' ', [&](std::string_view id) { parents.emplace_back(id); });
    if (parents.size() >= 2) return parents.back();
    if (parents.empty()) return std::nullopt;
    auto subject = executor.run({"show", "-s", "--format=%s", parents.back()}, repository, stop);
    if (write::trimmedOutput(subject) != indexSubject) return std::nullopt;
    return parents.back();
}

}  // namespace tarv::engine
