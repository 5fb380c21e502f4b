#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>

#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// A private index in which one commit is built beside the user's own index,
// so that whatever the user staged with git outside the selection survives
// the commit.
//
// The user's index is locked the way git locks it (index.lock, created
// exclusively) for the whole commit: another git process holding it refuses
// the commit before anything is written, with git's words, and nothing can
// change the user's index while the commit is made.
//
// The private index lives in the git directory as
// "tarv-commit-index-<pid>.<start>-<n>" (the process, its start, a count)
// and starts as HEAD's tree (empty on an unborn branch); where the user's
// index holds the same content as HEAD its entries, stat data and flags are
// kept, so git does not read those files again. Git uses it through
// GIT_INDEX_FILE (`environment`).
//
// Before git commits, `prepare` writes into the lock what the user's index
// becomes once the commit is made, and marks it ready. Should the program
// stop while git still commits (git runs in a session of its own and
// finishes by itself), `settleLeftovers` at the next opening puts that in
// place when the commit was made, or releases the lock when it was not. The
// marks are hard links to the lock ("-lock" once taken, "-ready" once it
// holds the index), so a lock is only ever taken for ours when it is.
//
// Every file, and the lock, go when the value goes away.
class CommitIndex {
public:
    // Locks the user's index of the repository at `repository`, waiting a
    // little for another git process; a lock that stays is
    // GitError::commandFailed with git's words. Then makes the private index
    // from `head` (a commit id; none: an unborn branch).
    CommitIndex(const GitExecutor& executor, const std::string& repository, const std::optional<std::string>& head,
                std::stop_token stop);
    ~CommitIndex();
    CommitIndex(const CommitIndex&) = delete;
    CommitIndex& operator=(const CommitIndex&) = delete;

    // GIT_INDEX_FILE naming this index, for the per-call environment.
    std::map<std::string, std::string> environment() const;

    // Once the selection is staged, before git commits: takes the user's
    // entries of every path where the user's index differs from `head` (the
    // HEAD this index was made from) and `committed(path)` is false, and
    // writes this index with them laid over into the lock, marked ready.
    void prepare(const std::function<bool(const std::string&)>& committed, std::stop_token stop);

    // Once git committed: lays the same entries over this index (as git left
    // it) and makes it the user's index.
    void publish(std::stop_token stop);

    // What programs that stopped during a commit left in `gitDirectory`:
    // where the commit was made, the user's index prepared for it is put in
    // place; otherwise their lock is released. Their files go. A commit whose
    // program or git still runs is left alone. Never fails.
    static void settleLeftovers(const GitExecutor& executor, const std::string& repository,
                                const std::string& gitDirectory, std::stop_token stop);

private:
    void build(const std::optional<std::string>& head, std::stop_token stop);
    void release() noexcept;

    GitExecutor executor_;
    std::string repository_;
    std::optional<std::string> head_;
    std::string realIndex_;
    std::string path_;
    int lock_ = -1;
    std::string overlay_;
};

}  // namespace tarv::engine
