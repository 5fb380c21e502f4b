#include "TarvEngine/Safety/SnapshotCommands.hpp"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unordered_set>
#include <utility>

#include "TarvEngine/Commands/WriteMessages.hpp"
#include "TarvEngine/Commands/WriteSupport.hpp"
#include "TarvEngine/Parsers/ByteText.hpp"
#include "TarvEngine/Safety/WorkingFileBytes.hpp"

namespace tarv::engine {

namespace {

using namespace std::chrono_literals;

constexpr std::string_view indexSubject = "tarv snapshot index";
constexpr std::string_view snapshotMessage = "tarv snapshot";
// The note in the message of a snapshot whose regular files hold the
// working files' own bytes (an older snapshot holds them as "git add" would,
// through the filters, and is written back through them).
constexpr std::string_view ownBytesNote = "Files kept as their own bytes, without filters.";

void removeQuietly(const core::FileStore& files, const std::string& path) {
    try {
        files.removeItem(path);
    } catch (...) {
    }
}

// A temporary index and the lock a git stopped half-way may leave beside it.
void removeIndexQuietly(const core::FileStore& files, const std::string& index) {
    removeQuietly(files, index);
    removeQuietly(files, index + ".lock");
}

// Whether git gave up because another process holds the index's lock.
bool lockedByAnother(const core::GitError& error) {
    const auto* failed = std::get_if<core::GitError::CommandFailed>(&error.value);
    return failed != nullptr && failed->stderr.find("index.lock") != std::string::npos &&
           failed->stderr.find("File exists") != std::string::npos;
}

// Runs `call`; while git reports another process's index.lock, waits a
// little and runs it again, for at most `patience` in all.
template <class Call>
auto patiently(std::chrono::milliseconds patience, Call&& call) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::chrono::milliseconds pause = 20ms;
    for (;;) {
        try {
            return call();
        } catch (const core::GitError& error) {
            if (!lockedByAnother(error) || std::chrono::steady_clock::now() + pause > deadline) throw;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::milliseconds>(pause * 2, 250ms);
    }
}

// NUL-ended paths for a command that reads them from standard input.
core::Bytes nulSeparated(std::span<const std::string> paths) {
    core::Bytes input;
    for (const auto& path : paths) {
        input.insert(input.end(), path.begin(), path.end());
        input.push_back(0);
    }
    return input;
}

// The options of a call that writes with `input` on standard input.
GitExecutor::Options writingInput(core::Bytes input, std::map<std::string, std::string> environment = {}) {
    GitExecutor::Options options = write::writing();
    options.stdin = std::move(input);
    options.environment = std::move(environment);
    return options;
}

enum class Presence { missing, folder, other };

Presence presence(const std::string& repository, const std::string& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(std::filesystem::path(repository) / path, error);
    if (status.type() == std::filesystem::file_type::not_found) return Presence::missing;
    return status.type() == std::filesystem::file_type::directory ? Presence::folder : Presence::other;
}

// The entries of `paths` in `tree` as "<mode> <type> <id>\t<path>" records,
// the form --index-info takes back; one listing of the whole tree, whatever
// the number of paths.
struct TreeEntries {
    std::string records;             // files and links, each ended by NUL
    std::vector<std::string> files;  // their paths, in the tree's order
    std::vector<WorkingFileBytes::Entry> sized;  // the same with their sizes, when asked for
    std::string otherRecords;        // what it holds as something else (a submodule), likewise
    std::vector<std::string> others; // their paths
    std::vector<std::string> absent; // the paths the tree does not hold
};

enum class Sizes { left, listed };

// "<mode> <type> <id> <padded size>\t<path>" (ls-tree -l) as the entry it
// names and the record without the size.
WorkingFileBytes::Entry sizedEntry(std::string_view record, std::string& plain) {
    const std::size_t tab = record.find('\t');
    std::string_view fields[3];
    std::string_view rest;
    bytes::takeFields(record.substr(0, tab), ' ', 3, fields, rest);
    const std::size_t digits = rest.find_first_not_of(' ');
    WorkingFileBytes::Entry entry{std::string(fields[0]), std::string(fields[2]), std::string(record.substr(tab + 1)),
                                  bytes::decimal(rest.substr(std::min(digits, rest.size()))).value_or(0)};
    plain.assign(fields[0]).append(" ").append(fields[1]).append(" ").append(fields[2]).append("\t").append(entry.path);
    return entry;
}

TreeEntries entriesOf(const GitExecutor& executor, const std::string& repository, const std::string& tree,
                      const std::vector<std::string>& paths, std::stop_token stop, Sizes sizes = Sizes::left) {
    const std::unordered_set<std::string_view> wanted(paths.begin(), paths.end());
    auto listing = executor.run(sizes == Sizes::listed
                                    ? std::vector<std::string>{"ls-tree", "-r", "-l", "-z", "--end-of-options", tree}
                                    : std::vector<std::string>{"ls-tree", "-r", "-z", "--end-of-options", tree},
                                repository, stop);
    TreeEntries entries;
    std::unordered_set<std::string_view> found;
    std::string plain;
    bytes::forEachPiece(listing.stdoutBytes(), '\0', [&](std::string_view record) {
        const std::size_t tab = record.find('\t');
        if (tab == std::string_view::npos) return;
        const std::string_view path = record.substr(tab + 1);
        const auto match = wanted.find(path);
        if (match == wanted.end()) return;
        found.insert(*match);
        if (sizes == Sizes::listed) {
            entries.sized.push_back(sizedEntry(record, plain));
            record = plain;
        }
        if (record.starts_with("100644 blob ") || record.starts_with("100755 blob ") ||
            record.starts_with("120000 blob ")) {
            entries.records.append(record).push_back('\0');
            entries.files.emplace_back(path);
        } else {
            if (sizes == Sizes::listed) entries.sized.pop_back();
            entries.otherRecords.append(record).push_back('\0');
            entries.others.emplace_back(path);
        }
    });
    for (const auto& path : paths) {
        if (!found.contains(path)) entries.absent.push_back(path);
    }
    return entries;
}

// Whether the files (or links) at `a` and `b` hold the same bytes.
bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code error;
    const auto kind = fs::symlink_status(a, error).type();
    if (error || kind != fs::symlink_status(b, error).type() || error) return false;
    if (kind == fs::file_type::symlink) return fs::read_symlink(a, error) == fs::read_symlink(b, error) && !error;
    if (kind != fs::file_type::regular || fs::file_size(a, error) != fs::file_size(b, error) || error) return false;
    std::ifstream first(a, std::ios::binary);
    std::ifstream second(b, std::ios::binary);
    std::array<char, 1 << 16> x{};
    std::array<char, 1 << 16> y{};
    while (first && second) {
        first.read(x.data(), x.size());
        second.read(y.data(), y.size());
        if (first.gcount() != second.gcount() ||
            !std::equal(x.begin(), x.begin() + first.gcount(), y.begin())) {
            return false;
        }
    }
    return first.eof() && second.eof();
}

// Removes the working file at `path` (a file or a link, never a folder),
// the way "git clean" would; gone already is fine.
void removeWorkingFile(const std::string& repository, const std::string& path) {
    std::error_code error;
    std::filesystem::remove(std::filesystem::path(repository) / path, error);
    if (error && error != std::errc::no_such_file_or_directory) {
        throw core::GitError::commandFailed("git clean -f -q -- " + path, 1,
                                            "failed to remove " + path + ": " + error.message());
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

    GitExecutor::Options withInput(core::Bytes input) const {
        GitExecutor::Options options = plain;
        options.stdin = std::move(input);
        return options;
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
    // What is in the working tree is added, ignored or not; what is gone is
    // recorded as gone. A regular file is kept as its own bytes, with no
    // filter or line-ending conversion, so that its undo writes back exactly
    // what was there; links, what is gone and what lies beyond a link go
    // through one update-index, which takes its paths as they are (and
    // refuses a path beyond a link). A folder (a repository inside this
    // one) goes through "add", which records it as git does. Any path git
    // cannot save fails the snapshot, and with it the discard.
    std::vector<std::string> plainFiles;
    std::vector<std::string> files;
    std::vector<std::string> folders;
    for (const auto& path : paths) {
        if (WorkingFileBytes::isPlainFile(repository, path)) {
            plainFiles.push_back(path);
        } else {
            (presence(repository, path) == Presence::folder ? folders : files).push_back(path);
        }
    }
    if (!plainFiles.empty()) {
        const std::string records = WorkingFileBytes{executor}.store(repository, plainFiles, stop);
        executor.run({"update-index", "-z", "--index-info"}, repository, build.withInput(core::toBytes(records)), stop);
    }
    if (!files.empty()) {
        executor.run({"update-index", "--add", "--remove", "--replace", "-z", "--stdin"}, repository,
                     build.withInput(nulSeparated(files)), stop);
    }
    write::runWithPathsOnInput(executor, {"add", "-A", "-f"}, folders, repository, build.naming, stop);
    return write::trimmedOutput(executor.run({"write-tree"}, repository, build.plain, stop));
}

// HEAD's tree with `paths` as they are in the user's index: their staged
// versions, or their absence. The user's index is only read.
std::string stagedTree(const GitExecutor& executor, const std::string& repository,
                       const std::vector<std::string>& paths, bool hasHead, const TreeBuild& build,
                       std::stop_token stop) {
    startFromHead(executor, repository, hasHead, build, stop);
    const std::unordered_set<std::string_view> wanted(paths.begin(), paths.end());
    std::string staged;
    std::vector<std::string> gone;
    if (!paths.empty() && hasHead) {
        // Only where the index differs from HEAD is there anything to change
        // (HEAD's tree is already in place): one comparison of the index
        // with HEAD, whose records ":<mode> <mode> <id> <id> <status>" name
        // the index's side second. A path the index no longer holds at stage
        // 0 (removed, or in conflict) goes.
        auto compared =
            executor.run({"diff-index", "--cached", "-z", "--no-renames", "HEAD"}, repository, stop);
        std::string_view header;
        bytes::forEachPiece(compared.stdoutBytes(), '\0', [&](std::string_view piece) {
            if (header.empty()) {
                header = piece;
                return;
            }
            const std::string_view fields = std::exchange(header, std::string_view());
            if (!wanted.contains(piece) || fields.size() < 2) return;
            std::string_view parts[4];
            std::string_view status;
            if (!bytes::takeFields(fields.substr(1), ' ', 4, parts, status)) return;
            if (status.starts_with('D') || status.starts_with('U')) {
                gone.emplace_back(piece);
            } else {
                staged.append(parts[1]).append(" ").append(parts[3]).append("\t").append(piece).push_back('\0');
            }
        });
    } else if (!paths.empty()) {
        // Before the first commit: the merged entries (stage 0) of the
        // paths, as "<mode> <id> 0\t<path>" records that --index-info takes
        // back as they are, into an index that starts empty.
        auto listed = executor.run({"ls-files", "-s", "-z"}, repository, stop);
        bytes::forEachPiece(listed.stdoutBytes(), '\0', [&](std::string_view record) {
            const std::size_t tab = record.find('\t');
            if (tab == std::string_view::npos || tab == 0 || record[tab - 1] != '0') return;
            if (!wanted.contains(record.substr(tab + 1))) return;
            staged.append(record);
            staged.push_back('\0');
        });
    }
    if (!gone.empty()) {
        executor.run({"update-index", "--force-remove", "-z", "--stdin"}, repository,
                     build.withInput(nulSeparated(gone)), stop);
    }
    if (!staged.empty()) {
        executor.run({"update-index", "-z", "--index-info"}, repository, build.withInput(core::toBytes(staged)), stop);
    }
    return write::trimmedOutput(executor.run({"write-tree"}, repository, build.plain, stop));
}

}  // namespace

std::string SnapshotCommands::create(const std::string& repository, const std::vector<std::string>& paths,
                                     std::int64_t now, std::stop_token stop) const {
    const std::string gitDirectory =
        write::trimmedOutput(executor.run({"rev-parse", "--absolute-git-dir"}, repository, stop));
    // The process and a count in the name: two programs (or two
    // repositories of one) saving in the same second never share an index.
    static std::atomic<unsigned> counter{0};
    const std::string workingIndex = gitDirectory + "/" + std::string(temporaryIndexPrefix) + std::to_string(now) +
                                     "-" + std::to_string(paths.size()) + "-" + std::to_string(::getpid()) + "-" +
                                     std::to_string(counter++);
    const std::string stagedIndex = workingIndex + "-staged";
    const auto removeIndexes = [&] {
        removeIndexQuietly(*files, workingIndex);
        removeIndexQuietly(*files, stagedIndex);
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
            if (subject == snapshotMessage) arguments.insert(arguments.end(), {"-m", std::string(ownBytesNote)});
            return write::trimmedOutput(executor.run(arguments, repository, working.plain, stop));
        };
        std::vector<std::string> parents;
        if (hasHead) parents.push_back("HEAD");
        const std::string stagedCommit = commitTree(staged, parents, indexSubject);
        parents.push_back(stagedCommit);
        const std::string commit = commitTree(worktree, parents, snapshotMessage);

        const std::string reference = "refs/tarv/snapshots/" + std::to_string(now) + "-" + commit.substr(0, 7);
        executor.run({"update-ref", reference, commit}, repository, write::writing(), stop);
        removeIndexes();
        return reference;
    } catch (...) {
        removeIndexes();
        throw;
    }
}

void SnapshotCommands::removeLeftovers(const core::FileStore& files, const std::string& gitDirectory) {
    std::vector<std::string> names;
    try {
        names = files.contentsOfDirectory(gitDirectory);
    } catch (...) {
        return;
    }
    for (const auto& name : names) {
        if (name.starts_with(temporaryIndexPrefix)) removeQuietly(files, gitDirectory + "/" + name);
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

SnapshotCommands::DiscardGroups SnapshotCommands::groupsOf(const std::vector<core::FileChange>& changes) {
    DiscardGroups groups;
    for (const auto& change : changes) {
        switch (change.kind) {
            case core::ChangeKind::untracked:
                groups.untracked.push_back(change.path);
                break;
            case core::ChangeKind::added:
            case core::ChangeKind::copied:
                groups.toRemove.push_back(change.path);
                break;
            case core::ChangeKind::renamed:
                groups.toRemove.push_back(change.path);
                if (change.originalPath) groups.toRestore.push_back(*change.originalPath);
                break;
            case core::ChangeKind::modified:
            case core::ChangeKind::deleted:
            case core::ChangeKind::typeChanged:
                groups.toRestore.push_back(change.path);
                break;
            case core::ChangeKind::conflicted:
                write::refuse(WriteMessages::conflictPrefix, change.path, WriteMessages::conflictSuffix);
        }
    }
    return groups;
}

void SnapshotCommands::discard(const std::string& repository, const std::vector<core::FileChange>& changes,
                               std::stop_token stop) const {
    const DiscardGroups groups = groupsOf(changes);
    removeUntracked(repository, groups.untracked, stop);
    if (!groups.toRemove.empty()) {
        patiently(lockPatience, [&] {
            write::runWithPathsOnInput(executor, {"rm", "-f", "-q"}, groups.toRemove, repository,
                                       write::writingPaths(), stop);
        });
    }
    restoreFromHead(repository, groups.toRestore, stop);
}

void SnapshotCommands::removeUntracked(const std::string& repository, const std::vector<std::string>& paths,
                                       std::stop_token stop) const {
    // Untracked files and links are removed here, as "clean" would remove
    // them, at the cost of one unlink each; a folder (a repository inside
    // this one) is left to "clean" itself, which decides about it.
    std::vector<std::string> folders;
    for (const auto& path : paths) {
        if (presence(repository, path) == Presence::folder) {
            folders.push_back(path);
        } else {
            removeWorkingFile(repository, path);
        }
    }
    // "clean" cannot read paths from its input: its paths go in groups.
    write::runInGroups(executor, {"clean", "-f", "-q", "--"}, folders, repository, write::writingPaths(), stop);
}

void SnapshotCommands::restoreFromHead(const std::string& repository, const std::vector<std::string>& paths,
                                       std::stop_token stop) const {
    if (paths.empty()) return;
    // HEAD's entries go into the index, then out to the working tree: the
    // same as "restore --source=HEAD --staged --worktree" at a cost that
    // follows the number of files, not files times paths. What HEAD holds
    // as something else than a file or a link, or not at all, takes that
    // restore itself (before the first commit it fails there, as it must).
    const TreeEntries head = entriesOf(executor, repository, "HEAD", paths, stop);
    if (!head.records.empty()) {
        patiently(lockPatience, [&] {
            executor.run({"update-index", "-z", "--index-info"}, repository,
                         writingInput(core::toBytes(head.records)), stop);
        });
        patiently(lockPatience, [&] {
            executor.run({"checkout-index", "-f", "-u", "-z", "--stdin"}, repository,
                         writingInput(nulSeparated(head.files)), stop);
        });
    }
    std::vector<std::string> rest = head.others;
    rest.insert(rest.end(), head.absent.begin(), head.absent.end());
    if (!rest.empty()) {
        patiently(lockPatience, [&] {
            write::runWithPathsOnInput(executor, {"restore", "--source=HEAD", "--staged", "--worktree"}, rest,
                                       repository, write::writingPaths(), stop);
        });
    }
}

void SnapshotCommands::restore(const std::string& repository, const std::string& reference,
                               const std::vector<std::string>& paths, std::stop_token stop) const {
    if (paths.empty()) return;
    const Parents parents = parentsOf(repository, reference, stop);
    restoreWorkingFiles(repository, reference, parents.ownBytes, paths, stop);
    // Then the staged versions, when the snapshot kept them: the index
    // entries of the paths become those of the staged commit (a path it
    // does not hold leaves the index), and the index is refreshed so that
    // the files written above count as unchanged where they are.
    if (parents.staged) restoreStaged(repository, *parents.staged, paths, stop);
    patiently(lockPatience, [&] {
        executor.run({"update-index", "-q", "--refresh"}, repository, write::writing({0, 1}), stop);
    });
}

void SnapshotCommands::restoreStaged(const std::string& repository, const std::string& staged,
                                     const std::vector<std::string>& paths, std::stop_token stop) const {
    const TreeEntries entries = entriesOf(executor, repository, staged, paths, stop);
    const std::string records = entries.records + entries.otherRecords;
    const std::vector<std::string>& gone = entries.absent;
    if (!records.empty()) {
        patiently(lockPatience, [&] {
            executor.run({"update-index", "-z", "--index-info"}, repository, writingInput(core::toBytes(records)),
                         stop);
        });
    }
    if (!gone.empty()) {
        patiently(lockPatience, [&] {
            executor.run({"update-index", "--force-remove", "-z", "--stdin"}, repository,
                         writingInput(nulSeparated(gone)), stop);
        });
    }
}

void SnapshotCommands::restoreWorkingFiles(const std::string& repository, const std::string& reference, bool ownBytes,
                                           const std::vector<std::string>& paths, std::stop_token stop) const {
    // The snapshot's files and links of the paths are written to the
    // working tree: as their own bytes when the snapshot kept them so,
    // otherwise through a temporary index of their own and checkout-index
    // (and so through the filters they were saved with). A path the
    // snapshot does not hold is removed from the working tree; a submodule
    // is left as it is. The user's index is not touched here.
    const TreeEntries entries =
        entriesOf(executor, repository, reference, paths, stop, ownBytes ? Sizes::listed : Sizes::left);
    if (ownBytes) {
        WorkingFileBytes{executor}.write(repository, entries.sized, stop);
    } else if (!entries.records.empty()) {
        const std::string name = reference.substr(reference.rfind('/') + 1);
        const std::string index = gitDirectoryOf(repository, stop) + "/" + std::string(temporaryIndexPrefix) + "undo-" + name;
        removeIndexQuietly(*files, index);
        try {
            const TreeBuild build(index);
            executor.run({"update-index", "-z", "--index-info"}, repository,
                         build.withInput(core::toBytes(entries.records)), stop);
            executor.run({"checkout-index", "-f", "-a"}, repository, build.plain, stop);
        } catch (...) {
            removeIndexQuietly(*files, index);
            throw;
        }
        removeIndexQuietly(*files, index);
    }
    for (const auto& path : entries.absent) {
        if (presence(repository, path) != Presence::folder) removeWorkingFile(repository, path);
    }
}

std::string SnapshotCommands::gitDirectoryOf(const std::string& repository, std::stop_token stop) const {
    return write::trimmedOutput(executor.run({"rev-parse", "--absolute-git-dir"}, repository, stop));
}

SnapshotCommands::Parents SnapshotCommands::parentsOf(const std::string& repository, const std::string& reference,
                                                      std::stop_token stop) const {
    // HEAD at the time of the snapshot first, when there was one; the commit
    // of the index's versions last. A snapshot of the oldest kind has HEAD
    // alone, or nothing.
    auto shown = executor.run({"show", "-s", "--format=%P%x00%B", "--end-of-options", reference}, repository, stop);
    const std::string_view output = shown.stdoutBytes();
    const std::size_t end = std::min(output.find('\0'), output.size());
    std::vector<std::string> ids;
    bytes::forEachPiece(output.substr(0, end), ' ', [&](std::string_view id) { ids.emplace_back(core::text::trimmed(std::string(id))); });
    Parents parents;
    parents.ownBytes = output.substr(end).find(ownBytesNote) != std::string_view::npos;
    if (ids.size() >= 2) {
        parents.head = ids.front();
        parents.staged = ids.back();
    } else if (ids.size() == 1) {
        auto subject = executor.run({"show", "-s", "--format=%s", ids.back()}, repository, stop);
        (write::trimmedOutput(subject) == indexSubject ? parents.staged : parents.head) = ids.back();
    }
    return parents;
}

std::vector<std::string> SnapshotCommands::editedSinceDiscard(const std::string& repository,
                                                              const std::string& reference,
                                                              const std::vector<std::string>& paths,
                                                              std::stop_token stop) const {
    // What a restore would replace: a file or a link at a path (a folder is
    // left as it is, and a path with nothing there loses nothing).
    std::vector<std::string> present;
    for (const auto& path : paths) {
        if (presence(repository, path) == Presence::other) present.push_back(path);
    }
    if (present.empty()) return {};
    const Parents parents = parentsOf(repository, reference, stop);
    // The discard left each path as HEAD of that moment held it (gone where
    // HEAD did not hold it, or before the first commit).
    if (!parents.head) return present;
    const TreeEntries left = entriesOf(executor, repository, *parents.head, present, stop);
    std::unordered_set<std::string> edited(left.absent.begin(), left.absent.end());
    edited.insert(left.others.begin(), left.others.end());
    for (auto& path : differingFromCheckout(repository, reference, left.records, left.files, stop)) {
        edited.insert(std::move(path));
    }
    std::vector<std::string> inOrder;
    for (const auto& path : present) {
        if (edited.contains(path)) inOrder.push_back(path);
    }
    return inOrder;
}

std::vector<std::string> SnapshotCommands::differingFromCheckout(const std::string& repository,
                                                                 const std::string& reference,
                                                                 const std::string& records,
                                                                 const std::vector<std::string>& paths,
                                                                 std::stop_token stop) const {
    if (paths.empty()) return {};
    // The entries are checked out, as the discard wrote them (filters and
    // line endings included), into a folder of their own in the git folder,
    // and each working file is compared with its copy byte for byte.
    const std::string name = reference.substr(reference.rfind('/') + 1);
    const std::string index = gitDirectoryOf(repository, stop) + "/" + std::string(temporaryIndexPrefix) + "check-" + name;
    const std::string folder = index + "-files";
    const auto removeBoth = [&] {
        removeIndexQuietly(*files, index);
        removeQuietly(*files, folder);
    };
    removeBoth();
    std::vector<std::string> differing;
    try {
        const TreeBuild build(index);
        executor.run({"update-index", "-z", "--index-info"}, repository, build.withInput(core::toBytes(records)), stop);
        executor.run({"checkout-index", "-a", "--prefix=" + folder + "/"}, repository, build.plain, stop);
        for (const auto& path : paths) {
            if (!sameFile(repository + "/" + path, folder + "/" + path)) differing.push_back(path);
        }
    } catch (...) {
        removeBoth();
        throw;
    }
    removeBoth();
    return differing;
}

}  // namespace tarv::engine
