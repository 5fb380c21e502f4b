#include "TarvCore/Ports/GitRepositoryClient.hpp"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace tarv::core;
using ::testing::_;

namespace {

// Records the commit call; every other write is unused here.
class RecordingWriter : public WorkingTreeWriting {
public:
    MOCK_METHOD(void, commit, (const std::string&, const CommitMessage&, const CommitSelection&, std::stop_token),
                (override));
    MOCK_METHOD(void, amend, (const std::string&, const CommitMessage&, const CommitSelection&, std::stop_token),
                (override));
    MOCK_METHOD(std::string, discard, (const std::string&, const std::vector<FileChange>&, std::stop_token),
                (override));
    MOCK_METHOD(SnapshotRestore, restoreSnapshot,
                (const std::string&, const std::string&, const std::vector<std::string>&, std::stop_token), (override));
    MOCK_METHOD(void, stash, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, restoreStash, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, dropStash, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(MergeResult, merge, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, abortOperation, (const std::string&, std::stop_token), (override));
    MOCK_METHOD(OperationResult, revert, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(OperationResult, cherryPick, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, reset, (const std::string&, const std::string&, ResetMode, std::stop_token), (override));
    MOCK_METHOD(OperationResult, editHistory, (const std::string&, const HistoryEdit&, std::stop_token), (override));
    MOCK_METHOD(OperationResult, rebase, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(OperationResult, continueOperation, (const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, resolve, (const std::string&, const std::string&, ConflictResolution, std::stop_token),
                (override));
    MOCK_METHOD(void, markResolved, (const std::string&, const std::vector<std::string>&, std::stop_token),
                (override));
    MOCK_METHOD(void, ignore, (const std::string&, const FileChange&, std::stop_token), (override));
    MOCK_METHOD(std::vector<Tag>, tags, (const std::string&, std::stop_token), (override));
    MOCK_METHOD(std::vector<Worktree>, worktrees, (const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, addWorktree, (const std::string&, const std::string&, const std::string&, std::stop_token),
                (override));
    MOCK_METHOD(void, removeWorktree, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, createTag, (const std::string&, const std::string&, const std::string&, std::stop_token),
                (override));
    MOCK_METHOD(void, deleteTag, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(void, switchBranch, (const std::string&, const std::string&, std::stop_token), (override));
    MOCK_METHOD(std::string, checkoutPullRequest,
                (const std::string&, std::int64_t, const std::string&, bool, std::stop_token), (override));
    MOCK_METHOD(void, renameBranch, (const std::string&, const std::string&, const std::string&, std::stop_token),
                (override));
    MOCK_METHOD(void, deleteBranch, (const std::string&, const std::string&, bool, std::stop_token), (override));
    MOCK_METHOD(void, createBranch,
                (const std::string&, const std::string&, const std::optional<std::string>&, std::stop_token),
                (override));
    MOCK_METHOD(CommitMessage, undoLastCommit, (const std::string&, std::stop_token), (override));
};

}  // namespace

TEST(WorkingTreeWriting, CommitIncludingCommitsThePathsWhole) {
    RecordingWriter writer;
    const CommitMessage message{"Fix", "", {}};
    EXPECT_CALL(writer, commit("/repo", message, CommitSelection{{"b.txt", "a.txt"}, {}}, _));
    writer.commitIncluding("/repo", message, {"b.txt", "a.txt"}, {});

    EXPECT_CALL(writer, commit("/repo", message, CommitSelection{{}, {}}, _));
    writer.commitIncluding("/repo", message, {}, {});
}

TEST(WorkingTreeWriting, CommitIncludingPassesFailuresOn) {
    RecordingWriter writer;
    EXPECT_CALL(writer, commit(_, _, _, _)).WillOnce(::testing::Throw(std::runtime_error("refused")));
    EXPECT_THROW(writer.commitIncluding("/repo", CommitMessage{"x", "", {}}, {"a"}, {}), std::runtime_error);
}
