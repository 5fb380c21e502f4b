// The main road on a real repository: the live repository client running
// real git, the local file store, the live executor and the main queue,
// pumped on this thread as the program's loop does. Every result is checked
// with git itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>

#include "Support/LiveStore.hpp"

namespace tarv::features {
namespace {

// A workspace on a temporary repository with the live client and file
// store; the other ports stay fakes. It starts open but unloaded: the first
// `filesChanged` reads its status.
struct Road : testing::LiveStore {
    void start(const std::string& summary) {
        connect();
        AppState state;
        state.workspace.emplace(repo.path(), "repo", std::nullopt);
        state.workspace->summary.setText(summary);
        open(std::move(state), liveRepository());
    }

    const WorkspaceState& workspace() const { return *store->state().workspace; }
    void send(WorkspaceAction action) { store->send(AppAction(std::move(action))); }

    // Pumps until one more action of case `Case` than `before` was reduced;
    // fails at once when a failure overlay opened instead.
    template <class Case>
    bool awaitNext(std::size_t before) {
        return pumpUntil([&] { return count<Case>() > before || store->state().overlay.has_value(); }) &&
               !store->state().overlay.has_value();
    }

    // Reads the status again and waits until it is reduced and no read runs.
    bool refresh() {
        const std::size_t before = count<WorkspaceAction::StatusLoaded>();
        send(WorkspaceAction::FilesChanged{});
        return pumpUntil([&] { return count<WorkspaceAction::StatusLoaded>() > before && !workspace().isRefreshing; });
    }

    const core::FileChange* file(const std::string& path) const {
        for (const auto& change : workspace().status.files) {
            if (change.path == path) return &change;
        }
        return nullptr;
    }
};

// The index, in the loaded diff's only hunk, of the added line `text`.
std::int64_t addedLine(const core::Diff& diff, const std::string& text) {
    const auto& lines = diff.hunks.at(0).lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].kind == core::DiffLine::Kind::added && lines[i].text == text) return static_cast<std::int64_t>(i);
    }
    return -1;
}

TEST(WorkspaceIntegrationTest, CommittingOneLineOfATwoLineChange) {
    Road road;
    road.repo.writeFile("lines.txt", "first\nsecond\n");
    road.repo.commitAll("Start");
    road.repo.writeFile("lines.txt", "first\nsecond\nadded one\nadded two\n");
    road.start("Add one line");

    ASSERT_TRUE(road.refresh());
    ASSERT_EQ(road.workspace().changes.selectedPath, "lines.txt");
    ASSERT_TRUE(road.pumpUntil([&] { return road.workspace().changes.diff.diff().has_value(); }));
    const std::int64_t line = addedLine(*road.workspace().changes.diff.diff(), "added one");
    ASSERT_GE(line, 0);
    road.send(WorkspaceAction::ToggleInclude{"lines.txt"});
    road.send(WorkspaceAction::ToggleLine{{0, line}});
    ASSERT_TRUE(road.workspace().changes.partial.contains("lines.txt"));

    const std::size_t before = road.count<WorkspaceAction::Committed>();
    road.send(WorkspaceAction::Commit{});
    ASSERT_TRUE(road.awaitNext<WorkspaceAction::Committed>(before));
    EXPECT_EQ(road.repo.git({"show", "HEAD:lines.txt"}), "first\nsecond\nadded one\n");
    EXPECT_EQ(road.repo.git({"log", "-1", "--format=%s"}), "Add one line\n");
    EXPECT_EQ(road.repo.readFile("lines.txt"), "first\nsecond\nadded one\nadded two\n");
    EXPECT_NE(road.repo.git({"diff", "--", "lines.txt"}).find("+added two\n"), std::string::npos);
    EXPECT_TRUE(road.workspace().summary.isEmpty());
}

// Sixty numbered lines, with the given lines replaced.
std::string numbered(const std::map<int, std::string>& replaced) {
    std::string text;
    for (int i = 1; i <= 60; ++i) {
        const auto found = replaced.find(i);
        text += (found == replaced.end() ? "line " + std::to_string(i) : found->second) + "\n";
    }
    return text;
}

TEST(WorkspaceIntegrationTest, OneHunkChosenStaysTheOnlyOneAfterAnEditorSavedTheFile) {
    Road road;
    road.repo.writeFile("lines.txt", numbered({}));
    road.repo.commitAll("Start");
    const std::map<int, std::string> three{{5, "five"}, {30, "thirty"}, {55, "fifty-five"}};
    road.repo.writeFile("lines.txt", numbered(three));
    road.start("Only thirty");
    ASSERT_TRUE(road.refresh());
    ASSERT_TRUE(road.pumpUntil([&] { return road.workspace().changes.diff.diff().has_value(); }));
    ASSERT_EQ(road.workspace().changes.diff.diff()->hunks.size(), 3u);
    road.send(WorkspaceAction::ToggleInclude{"lines.txt"});
    road.send(WorkspaceAction::ToggleHunk{1});
    ASSERT_TRUE(road.workspace().changes.partial.contains("lines.txt"));

    // The editor saves the file with one more line.
    std::map<int, std::string> saved = three;
    saved[12] = "line 12\ntyped";
    road.repo.writeFile("lines.txt", numbered(saved));
    const core::Diff before = *road.workspace().changes.diff.diff();
    ASSERT_TRUE(road.refresh());
    ASSERT_TRUE(road.pumpUntil([&] {
        const auto& diff = road.workspace().changes.diff;
        return !diff.isLoading && diff.diff() && *diff.diff() != before;
    }));
    ASSERT_TRUE(road.workspace().changes.included.contains("lines.txt"));

    const std::size_t committed = road.count<WorkspaceAction::Committed>();
    road.send(WorkspaceAction::Commit{});
    ASSERT_TRUE(road.awaitNext<WorkspaceAction::Committed>(committed));
    EXPECT_EQ(road.repo.git({"show", "HEAD:lines.txt"}), numbered({{30, "thirty"}}));
    EXPECT_EQ(road.repo.readFile("lines.txt"), numbered(saved));
}

// The picker lists two stashes; before the key press another terminal makes
// a third, which takes "stash@{0}": the highlighted stash is still the one
// dropped or restored.
TEST(WorkspaceIntegrationTest, TheStashPickerActsOnTheHighlightedStashAfterAnotherWasMade) {
    struct Case {
        const char* name;
        OverlayAction key;
        // The stash list (subjects) and a.txt afterwards.
        std::string listed;
        std::string file;
    };
    const Case cases[] = {
        {"drop", OverlayAction::DropSelection{}, "On main: elsewhere\nOn main: second\n", "a\n"},
        {"restore", OverlayAction::ActivateSelection{}, "On main: elsewhere\nOn main: second\n", "first\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Road road;
        road.repo.writeFile("a.txt", "a\n");
        road.repo.commitAll("Start");
        for (const char* name : {"first", "second"}) {
            road.repo.writeFile("a.txt", std::string(name) + "\n");
            road.repo.git({"stash", "push", "-q", "-m", name});
        }
        road.start("");
        ASSERT_TRUE(road.refresh());
        road.store->send(AppAction(AppAction::Command{core::AppCommand::showStashes}));
        ASSERT_TRUE(road.pumpUntil([&] { return road.workspace().stashes.size() == 2u; }));
        road.store->send(AppAction(OverlayAction::Select{1}));  // "first"

        road.repo.writeFile("a.txt", "elsewhere\n");
        road.repo.git({"stash", "push", "-q", "-m", "elsewhere"});

        const std::size_t done = road.count<WorkspaceAction::StashOperationDone>();
        const std::size_t failed = road.count<WorkspaceAction::StashOperationFailed>();
        road.store->send(AppAction(c.key));
        ASSERT_TRUE(road.pumpUntil([&] {
            return road.count<WorkspaceAction::StashOperationDone>() > done ||
                   road.count<WorkspaceAction::StashOperationFailed>() > failed;
        }));
        EXPECT_EQ(road.count<WorkspaceAction::StashOperationFailed>(), failed);
        EXPECT_EQ(road.repo.git({"stash", "list", "--format=%gs"}), c.listed);
        EXPECT_EQ(road.repo.readFile("a.txt"), c.file);
    }
}

TEST(WorkspaceIntegrationTest, DiscardingAndUndoingGivesTheFilesBackByteForByte) {
    Road road;
    road.repo.writeFile("text.txt", "one\r\ntwo\n");
    road.repo.writeFile("bytes.bin", std::string("\0\x01\xff\xfe", 4));
    road.repo.commitAll("Start");
    const std::string text = "one\r\nTWO\n\xc3\xa9 no final newline";
    const std::string bytes = std::string("\0\x02\xff\r\n\x80", 6);
    road.repo.writeFile("text.txt", text);
    road.repo.writeFile("bytes.bin", bytes);
    road.repo.writeFile("new.txt", "brand new\n");
    road.start("");
    ASSERT_TRUE(road.refresh());
    ASSERT_EQ(road.workspace().status.files.size(), 3u);

    const std::size_t discarded = road.count<WorkspaceAction::Discarded>();
    road.send(WorkspaceAction::DiscardConfirmed{road.workspace().status.files});
    ASSERT_TRUE(road.awaitNext<WorkspaceAction::Discarded>(discarded));
    EXPECT_EQ(road.repo.readFile("text.txt"), "one\r\ntwo\n");
    EXPECT_EQ(road.repo.readFile("bytes.bin"), std::string("\0\x01\xff\xfe", 4));
    EXPECT_FALSE(road.repo.exists("new.txt"));
    ASSERT_TRUE(road.workspace().lastDiscard);

    const std::size_t restored = road.count<WorkspaceAction::Restored>();
    road.send(WorkspaceAction::Undo{});
    road.send(WorkspaceAction::Undo{});  // a quick second press is refused
    ASSERT_TRUE(road.awaitNext<WorkspaceAction::Restored>(restored));
    EXPECT_EQ(road.repo.readFile("text.txt"), text);
    EXPECT_EQ(road.repo.readFile("bytes.bin"), bytes);
    EXPECT_EQ(road.repo.readFile("new.txt"), "brand new\n");
    EXPECT_EQ(road.repo.git({"log", "--format=%s"}), "Start\n") << "no commit was undone";
    EXPECT_EQ(road.count<WorkspaceAction::UndoneCommit>(), 0u);
}

// `story.txt` conflicted in a merge: two blocks, "mine" against "theirs".
void conflictedStory(testing::TempGitRepo& repo) {
    const std::string base = "alpha\nkeep 1\nkeep 2\nkeep 3\nkeep 4\nomega\n";
    repo.writeFile("story.txt", base);
    repo.commitAll("Base");
    repo.git({"switch", "-c", "topic"});
    repo.writeFile("story.txt", "ALPHA theirs\nkeep 1\nkeep 2\nkeep 3\nkeep 4\nOMEGA theirs\n");
    repo.commitAll("Theirs");
    repo.git({"switch", "main"});
    repo.writeFile("story.txt", "alpha mine\nkeep 1\nkeep 2\nkeep 3\nkeep 4\nomega mine\n");
    repo.commitAll("Mine");
    EXPECT_NE(repo.run({"merge", "topic"}).exitCode, 0);
}

TEST(WorkspaceIntegrationTest, ResolvingAMergeConflictBlockByBlock) {
    Road road;
    conflictedStory(road.repo);
    road.start("");

    ASSERT_TRUE(road.refresh());
    ASSERT_EQ(road.workspace().status.operation, core::RepositoryOperation::merge);
    ASSERT_TRUE(road.file("story.txt"));
    ASSERT_EQ(road.file("story.txt")->kind, core::ChangeKind::conflicted);
    road.send(WorkspaceAction::SelectFile{"story.txt"});
    ASSERT_TRUE(road.pumpUntil([&] { return road.workspace().changes.activeConflict(road.workspace().status); }));
    ASSERT_EQ(road.workspace().changes.activeConflict(road.workspace().status)->conflictCount(), 2);

    const std::size_t handled = road.count<WorkspaceAction::ConflictHandled>();
    road.send(WorkspaceAction::ChooseConflict{0, core::ConflictChoice::incoming});
    road.send(WorkspaceAction::ChooseConflict{0, core::ConflictChoice::incoming});
    ASSERT_TRUE(road.awaitNext<WorkspaceAction::ConflictHandled>(handled));
    EXPECT_EQ(road.repo.readFile("story.txt"), "ALPHA theirs\nkeep 1\nkeep 2\nkeep 3\nkeep 4\nOMEGA theirs\n");
    EXPECT_EQ(road.repo.git({"ls-files", "--unmerged"}), "");
    EXPECT_EQ(road.repo.git({"diff", "--name-only", "--diff-filter=U"}), "");
    // Staged, and no temporary file of the atomic writes left beside it.
    EXPECT_EQ(road.repo.git({"status", "--porcelain", "--untracked-files=all"}), "M  story.txt\n");

    ASSERT_TRUE(road.pumpUntil([&] {
        return !road.workspace().isRefreshing && road.file("story.txt") &&
               road.file("story.txt")->kind != core::ChangeKind::conflicted;
    }));
    EXPECT_EQ(road.workspace().changes.activeConflict(road.workspace().status), nullptr);
}

// The file is saved from an editor after it was read and before the watcher
// reports it: the choice made on the older text writes nothing, and the
// file is read again.
TEST(WorkspaceIntegrationTest, AConflictChoiceNeverWritesOverAFileChangedSinceItWasRead) {
    Road road;
    conflictedStory(road.repo);
    road.start("");
    ASSERT_TRUE(road.refresh());
    road.send(WorkspaceAction::SelectFile{"story.txt"});
    ASSERT_TRUE(road.pumpUntil([&] { return road.workspace().changes.activeConflict(road.workspace().status); }));

    const std::string saved = "alpha by hand\nkeep 1\nkeep 2\nkeep 3\nkeep 4\nomega by hand\n";
    road.repo.writeFile("story.txt", saved);
    road.send(WorkspaceAction::ChooseConflict{0, core::ConflictChoice::incoming});
    ASSERT_TRUE(road.pumpUntil([&] {
        const auto* shown = road.workspace().changes.activeConflict(road.workspace().status);
        return shown && shown->render() == saved;
    })) << "the screen shows what the file holds";

    EXPECT_EQ(road.repo.readFile("story.txt"), saved);
    EXPECT_NE(road.repo.git({"ls-files", "--unmerged"}), "") << "not marked resolved";
    EXPECT_FALSE(road.state().overlay);
}

}  // namespace
}  // namespace tarv::features
