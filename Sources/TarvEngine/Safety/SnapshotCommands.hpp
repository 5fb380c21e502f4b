#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Ports/FileStore.hpp"
#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// Safety snapshots and the discard they protect. `create` records the
// working-tree state of the given paths as a commit under
// refs/tarv/snapshots/ without touching the user's index, branch or working
// tree; `discard` then throws the changes away. The caller runs the two back
// to back (never overlapping another write on the repository) and discards
// only when the snapshot was made.
//
// Paths are taken literally and handed to git on standard input
// (NUL-separated), so no command line grows with them. Bulk work costs what
// git's own commands cost: the snapshot and the restores go through
// update-index and checkout-index (which take paths as they are, with no
// pattern matching of every path against every other), untracked files are
// unlinked one by one; only what those cannot express (folders, submodules,
// paths HEAD does not hold) takes git's own clean, add, rm and restore.
struct SnapshotCommands {
    // Author and committer of every snapshot.
    static constexpr const char* authorName = "Tarv";
    static constexpr const char* authorEmail = "tarv@localhost";
    // The start of the names of the temporary indexes in the git folder.
    static constexpr std::string_view temporaryIndexPrefix = "tarv-snapshot-index-";

    GitExecutor executor;
    std::shared_ptr<core::FileStore> files;

    // Saves `paths` (every path a discard will touch, the original path of a
    // rename included) and returns the snapshot's ref,
    // "refs/tarv/snapshots/<now>-<7 hex digits>". The snapshot's tree is
    // HEAD's (empty before the first commit) with each path as it is in the
    // working tree: its content, ignored files included, or its absence; a
    // regular file as its own bytes, with no filter or line-ending
    // conversion (the message says so). Its
    // parents are HEAD (when there is one) and, last, a commit ("tarv
    // snapshot index") of HEAD's tree with each path as it is in the user's
    // index, the way a stash keeps both: a version staged before the discard
    // is kept too. A path git cannot save fails the whole snapshot
    // (GitError::commandFailed), so nothing is discarded that the snapshot
    // does not hold. The two temporary indexes live in the git folder and are
    // removed in every case, with any lock file a stopped git left on them;
    // the user's index is only read.
    std::string create(const std::string& repository, const std::vector<std::string>& paths, std::int64_t now,
                       std::stop_token stop) const;

    // Removes what a snapshot stopped or killed half-way left in the git
    // folder `gitDirectory`: its temporary indexes and their ".lock" files.
    // For the opening of a repository, when no snapshot of this program
    // runs there; errors are ignored.
    static void removeLeftovers(const core::FileStore& files, const std::string& gitDirectory);

    // The paths a discard of `changes` touches, in order: each change's path
    // and, for a rename, its original path (which the discard brings back).
    // What `create` must be given before that discard.
    static std::vector<std::string> pathsTouchedBy(const std::vector<core::FileChange>& changes);

    // Refuses a discard of `changes` that holds a conflicted file
    // (GitError::invalidArgument), before anything is saved or changed.
    static void checkDiscardable(const std::vector<core::FileChange>& changes) { groupsOf(changes); }

    // Discards the changes: untracked files are deleted, added files and the
    // new side of renames and copies removed, modified, deleted and
    // type-changed files (and the old side of renames) set back to HEAD in
    // index and working tree. A conflicted file refuses the whole discard
    // before anything changes. A step that finds the index locked by another
    // git process waits for it (`lockPatience`) and tries again.
    void discard(const std::string& repository, const std::vector<core::FileChange>& changes,
                 std::stop_token stop) const;

    // Writes `paths` back from the snapshot `reference` (the undo of a
    // discard): into the working tree (as the files' own bytes, for a
    // snapshot that kept them so), then into the index as they were
    // staged (a snapshot made before the index was kept restores the working
    // tree only). Waits for another process's index lock as `discard` does;
    // every step can run again, so a restore that still failed can simply be
    // run once more.
    void restore(const std::string& repository, const std::string& reference, const std::vector<std::string>& paths,
                 std::stop_token stop) const;

    // The paths of `paths` (those of the discard that made the snapshot
    // `reference`) that something has changed since that discard, in the
    // given order: a file or a link is there that differs, byte for byte,
    // from what the discard left (HEAD's version of that moment, written as
    // a checkout writes it), or that stands where the discard left nothing.
    // What a restore of them would write over; a path with nothing there, or
    // a folder, is not one of them.
    std::vector<std::string> editedSinceDiscard(const std::string& repository, const std::string& reference,
                                                const std::vector<std::string>& paths, std::stop_token stop) const;

    // How long a step waits, in all, while another git process holds the
    // index's lock.
    std::chrono::milliseconds lockPatience = std::chrono::seconds(3);

private:
    struct DiscardGroups {
        std::vector<std::string> untracked;
        std::vector<std::string> toRemove;
        std::vector<std::string> toRestore;
    };
    // The changes sorted by what their discard does; a conflicted file
    // refuses.
    static DiscardGroups groupsOf(const std::vector<core::FileChange>& changes);

    void removeUntracked(const std::string& repository, const std::vector<std::string>& paths,
                         std::stop_token stop) const;
    void restoreFromHead(const std::string& repository, const std::vector<std::string>& paths,
                         std::stop_token stop) const;
    void restoreWorkingFiles(const std::string& repository, const std::string& reference, bool ownBytes,
                             const std::vector<std::string>& paths, std::stop_token stop) const;
    void restoreStaged(const std::string& repository, const std::string& staged,
                       const std::vector<std::string>& paths, std::stop_token stop) const;

    // What a snapshot was made on: HEAD of that moment (none before the
    // first commit), the commit of the index's versions (none for a
    // snapshot that kept none), and whether its files are their own bytes.
    struct Parents {
        std::optional<std::string> head;
        std::optional<std::string> staged;
        bool ownBytes = false;
    };
    Parents parentsOf(const std::string& repository, const std::string& reference, std::stop_token stop) const;
    std::string gitDirectoryOf(const std::string& repository, std::stop_token stop) const;
    // The `paths` whose working file or link differs from what a checkout
    // of `records` (--index-info records of those paths) writes.
    std::vector<std::string> differingFromCheckout(const std::string& repository, const std::string& reference,
                                                   const std::string& records, const std::vector<std::string>& paths,
                                                   std::stop_token stop) const;
};

}  // namespace tarv::engine
