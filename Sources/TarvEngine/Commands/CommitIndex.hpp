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
// It lives in the git directory as "tarv-commit-index-<pid>-<n>" and starts
// as HEAD's tree (empty on an unborn branch); where the user's index holds
// the same content as HEAD its entries, stat data and flags are kept, so git
// does not read those files again. Git uses it through GIT_INDEX_FILE
// (`environment`). The file, and a lock git may have left beside it, are
// removed when the value goes away.
//
// `publish` then makes it the user's index: the committed paths take what
// this index holds (the new commit), every other path keeps what the user's
// index holds at that moment. The user's index is locked the way git locks
// it (index.lock, created exclusively) only for that last step.
class CommitIndex {
public:
    // Makes the private index of the repository at `repository` from `head`
    // (a commit id; none: an unborn branch).
    CommitIndex(const GitExecutor& executor, const std::string& repository, const std::optional<std::string>& head,
                std::stop_token stop);
    ~CommitIndex();
    CommitIndex(const CommitIndex&) = delete;
    CommitIndex& operator=(const CommitIndex&) = delete;

    // GIT_INDEX_FILE naming this index, for the per-call environment.
    std::map<std::string, std::string> environment() const;

    // Replaces the user's index by this one, after laying over it the user's
    // entries of every path where the user's index differs from `head` (the
    // HEAD this index was made from) and `committed(path)` is false. Waits a
    // little for a lock held by another git process; a lock that stays is
    // GitError::commandFailed, the user's index then unchanged.
    void publish(const std::function<bool(const std::string&)>& committed, std::stop_token stop);

private:
    GitExecutor executor_;
    std::string repository_;
    std::optional<std::string> head_;
    std::string realIndex_;
    std::string path_;
};

}  // namespace tarv::engine
