#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
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
// Paths are taken literally. The snapshot's "add" and the discard's "rm" and
// "restore" read them from standard input (NUL-separated); "clean" and the
// restore of a snapshot take them as arguments in groups (PathChunks); no
// command line grows past the system's limit.
struct SnapshotCommands {
    // Author and committer of every snapshot.
    static constexpr const char* authorName = "Tarv";
    static constexpr const char* authorEmail = "tarv@localhost";

    GitExecutor executor;
    std::shared_ptr<core::FileStore> files;

    // Saves `paths` (every path a discard will touch, the original path of a
    // rename included) and returns the snapshot's ref,
    // "refs/tarv/snapshots/<now>-<7 hex digits>". The snapshot's tree is
    // HEAD's (empty before the first commit) with each path as it is in the
    // working tree: its content, ignored files included, or its absence. Its
    // parents are HEAD (when there is one) and, last, a commit ("tarv
    // snapshot index") of HEAD's tree with each path as it is in the user's
    // index, the way a stash keeps both: a version staged before the discard
    // is kept too. A path git cannot save fails the whole snapshot
    // (GitError::commandFailed), so nothing is discarded that the snapshot
    // does not hold. The two temporary indexes live in the git folder and are
    // removed in every case; the user's index is only read.
    std::string create(const std::string& repository, const std::vector<std::string>& paths, std::int64_t now,
                       std::stop_token stop) const;

    // The paths a discard of `changes` touches, in order: each change's path
    // and, for a rename, its original path (which the discard brings back).
    // What `create` must be given before that discard.
    static std::vector<std::string> pathsTouchedBy(const std::vector<core::FileChange>& changes);

    // Discards the changes: untracked files are deleted, added files and the
    // new side of renames and copies removed, modified, deleted and
    // type-changed files (and the old side of renames) set back to HEAD in
    // index and working tree. A conflicted file refuses the whole discard
    // before anything changes.
    void discard(const std::string& repository, const std::vector<core::FileChange>& changes,
                 std::stop_token stop) const;

    // Writes `paths` back from the snapshot `reference` (the undo of a
    // discard): into the working tree, then into the index as they were
    // staged (a snapshot made before the index was kept restores the working
    // tree only).
    void restore(const std::string& repository, const std::string& reference, const std::vector<std::string>& paths,
                 std::stop_token stop) const;

private:
    // The commit holding the index's versions of the snapshot `reference`;
    // none for a snapshot that kept none.
    std::optional<std::string> stagedCommit(const std::string& repository, const std::string& reference,
                                            std::stop_token stop) const;
};

}  // namespace tarv::engine
