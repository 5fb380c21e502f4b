#include <gtest/gtest.h>

#include <unordered_set>

#include "TarvCore/Models/Branch.hpp"
#include "TarvCore/Models/Commit.hpp"
#include "TarvCore/Models/CommitFile.hpp"
#include "TarvCore/Models/HistoryEdit.hpp"
#include "TarvCore/Models/MergeResult.hpp"
#include "TarvCore/Models/OperationResult.hpp"
#include "TarvCore/Models/StashEntry.hpp"
#include "TarvCore/Models/Tag.hpp"
#include "TarvCore/Models/WorkingTreeStatus.hpp"
#include "TarvCore/Models/Worktree.hpp"

namespace tarv::core {
namespace {

TEST(FileChangeTest, DefaultsWhenBuiltFromPathAndKind) {
    const FileChange change{.path = "a.txt", .kind = ChangeKind::added};
    EXPECT_EQ(change.originalPath, std::nullopt);
    EXPECT_FALSE(change.hasStagedChanges);
    EXPECT_TRUE(change.hasUnstagedChanges);
}

TEST(FileChangeTest, DirectoryAndFileNameSplitAtTheLastSlash) {
    struct Row {
        std::string path, directory, fileName;
    };
    const std::vector<Row> rows = {
        {"src/ui/main.c", "src/ui/", "main.c"}, {"README", "", "README"}, {"docs/", "docs/", ""},
        {"a/b/c", "a/b/", "c"},                 {"c", "", "c"},           {"/c", "/", "c"},
        {"", "", ""},
        // Paths that are not UTF-8 keep their bytes.
        {"d\xE9j\xE0/f\xFF.txt", "d\xE9j\xE0/", "f\xFF.txt"},
    };
    for (const auto& r : rows) {
        const FileChange change{.path = r.path, .kind = ChangeKind::modified};
        EXPECT_EQ(change.directory(), r.directory) << r.path;
        EXPECT_EQ(change.fileName(), r.fileName) << r.path;
        EXPECT_EQ(change.directory() + change.fileName(), r.path);
    }
}

TEST(WorkingTreeStatusTest, ConflictedFilesKeepOrderAndFields) {
    const FileChange a{"a", std::nullopt, ChangeKind::conflicted, false, true};
    const FileChange b{"b", std::nullopt, ChangeKind::modified, true, false};
    const FileChange c{"c", "old", ChangeKind::conflicted, true, true};
    const WorkingTreeStatus status{.files = {a, b, c}};
    EXPECT_EQ(status.conflictedFiles(), (std::vector<FileChange>{a, c}));
    EXPECT_TRUE(WorkingTreeStatus{.files = {b}}.conflictedFiles().empty());
    EXPECT_EQ(WorkingTreeStatus{}, (WorkingTreeStatus{BranchStatus{}, {}, std::nullopt}));
    EXPECT_NE(WorkingTreeStatus{}, (WorkingTreeStatus{.operation = RepositoryOperation::merge}));
}

TEST(CommitTest, ShortSHAIsTheFirstSevenCharacters) {
    Commit commit{
        .sha = "0123456789abcdef0123456789abcdef01234567", .authorName = "n", .authorEmail = "e", .summary = "s"};
    EXPECT_EQ(commit.shortSHA(), "0123456");
    commit.sha = "abc";
    EXPECT_EQ(commit.shortSHA(), "abc");
}

TEST(RepositoryValuesTest, HashingCoversEveryFieldInOrder) {
    const Commit ab{"s", {"a", "b"}, "n", "e", 1, "x"};
    const Commit ba{"s", {"b", "a"}, "n", "e", 1, "x"};
    EXPECT_NE(ab, ba);
    EXPECT_NE(std::hash<Commit>{}(ab), std::hash<Commit>{}(ba));

    const std::unordered_set<FileChange> files = {
        {"a", std::nullopt, ChangeKind::modified, false, true},
        {"a", std::nullopt, ChangeKind::modified, false, true},
        {"a", "", ChangeKind::modified, false, true},  // present-but-empty differs from absent
    };
    EXPECT_EQ(files.size(), 2u);

    EXPECT_EQ((std::unordered_set<Branch>{{"main"}, {"main"}, {"main", true}}.size()), 2u);
    EXPECT_EQ((std::unordered_set<CommitFile>{{"p", ChangeKind::added, std::nullopt, std::nullopt},
                                              {"p", ChangeKind::added, 0, std::nullopt}}
                   .size()),
              2u);
    EXPECT_EQ((std::unordered_set<StashEntry>{{"stash@{0}", "m", std::nullopt, 1}, {"stash@{0}", "m", "main", 1}}.size()),
              2u);
    EXPECT_EQ((std::unordered_set<Tag>{{"v1", "c"}, {"v1", "c"}}.size()), 1u);
}

TEST(RepositoryValuesTest, ResultsAndEditsCompareByCaseAndPayload) {
    EXPECT_EQ(OperationResult::conflicts({"a"}), OperationResult(OperationResult::Conflicts{{"a"}}));
    EXPECT_NE(OperationResult::conflicts({}), OperationResult::completed());
    EXPECT_NE(MergeResult::conflicts({"a"}), MergeResult::conflicts({"b"}));
    EXPECT_NE(MergeResult::fastForward(), MergeResult::merged());
    EXPECT_NE(HistoryEdit::moveUp("c1"), HistoryEdit::moveDown("c1"));
    EXPECT_EQ(HistoryEdit::squashIntoParent("c1"), HistoryEdit(HistoryEdit::SquashIntoParent{"c1"}));
    EXPECT_NE((Worktree{"/w", std::nullopt, "h", true}), (Worktree{"/w", "main", "h", true}));
}

}  // namespace
}  // namespace tarv::core
