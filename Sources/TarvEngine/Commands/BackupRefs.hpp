#pragma once

#include <stop_token>
#include <string>

#include "TarvEngine/Service/GitExecutor.hpp"

namespace tarv::engine {

// The backups kept of commits the user takes a name away from (a deleted
// branch or tag, a branch a pull request's head replaces), each a ref under
// refs/tarv/backups/. A backup name holds one commit. When a new backup
// needs a name that holds another commit, that older commit moves to the
// first free numbered name ("<name>-1", "<name>-2", ...) in the same ref
// transaction that writes the new one: every backup is kept, and the plain
// name always holds the latest.
struct BackupRefs {
    GitExecutor executor;

    // The ref transaction (the "start" and update lines of
    // `update-ref --stdin`) that keeps `commit` under `backup`.
    std::string transaction(const std::string& repository, const std::string& backup, const std::string& commit,
                            std::stop_token stop) const;

    // Checks that `lines` (from `transaction`) can be carried out, changing
    // nothing; a clash (a backup name that is also a folder of backups)
    // throws GitError::commandFailed.
    void check(const std::string& repository, const std::string& lines, std::stop_token stop) const;

    // Carries out `lines`, all or nothing.
    void write(const std::string& repository, const std::string& lines, std::stop_token stop) const;

    // `transaction` and `write` in one.
    void keep(const std::string& repository, const std::string& backup, const std::string& commit,
              std::stop_token stop) const;
};

}  // namespace tarv::engine
