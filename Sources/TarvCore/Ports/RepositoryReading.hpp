#pragma once

#include "TarvCore/Models/Branch.hpp"
#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Models/CommitFile.hpp"
#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/Diff.hpp"
#include "TarvCore/Models/FileChange.hpp"
#include "TarvCore/Models/StashEntry.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tarv::core {

// Reads of one repository; `repository` is the path of its working
// directory. Every call blocks; all but `repositoryExists` throw.
class RepositoryReading {
public:
    virtual ~RepositoryReading() = default;

    // Top of the working tree that contains `path`; none when none does.
    virtual std::optional<std::string> repositoryRoot(const std::string& path, std::stop_token stop) = 0;
    virtual bool repositoryExists(const std::string& path, std::stop_token stop) = 0;
    virtual WorkingTreeStatus status(const std::string& repository, std::stop_token stop) = 0;
    virtual Diff diff(const std::string& repository, const FileChange& file, std::stop_token stop) = 0;
    // At most `limit` commits after skipping `skip`.
    virtual std::vector<Commit> history(const std::string& repository, std::int64_t skip, std::int64_t limit,
                                        std::stop_token stop) = 0;
    // The files of a commit: the commit first, then the repository.
    virtual std::vector<CommitFile> files(const std::string& commit, const std::string& repository,
                                          std::stop_token stop) = 0;
    // The diff of one file in one commit: commit, path, then the repository.
    virtual Diff diffOfCommit(const std::string& commit, const std::string& path, const std::string& repository,
                              std::stop_token stop) = 0;
    virtual std::vector<Branch> branches(const std::string& repository, std::stop_token stop) = 0;
    virtual std::optional<std::string> remoteURL(const std::string& repository, const std::string& remote,
                                                 std::stop_token stop) = 0;
    virtual std::vector<StashEntry> stashes(const std::string& repository, std::stop_token stop) = 0;
    virtual std::optional<std::string> pendingMergeMessage(const std::string& repository, std::stop_token stop) = 0;
    virtual std::optional<CommitMessage> headMessage(const std::string& repository, std::stop_token stop) = 0;
};

}  // namespace tarv::core
