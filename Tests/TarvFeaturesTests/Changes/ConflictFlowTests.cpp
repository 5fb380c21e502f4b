// Resolving conflicts block by block through the store: each choice is
// written through the file store at once, the last one marks the file
// resolved and reports once, quick choices all reach the file in order, a
// file changed on disk since it was read is read again instead of written,
// and the cursor and scrolling stay inside the document.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <functional>
#include <stdexcept>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystemTests/FileSystem/ScratchFolder.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using Choice = core::ConflictChoice;

std::string block(const std::string& mine, const std::string& theirs) {
    return "<<<<<<< HEAD\n" + mine + "\n=======\n" + theirs + "\n>>>>>>> topic\n";
}

const std::string threeBlocks = "top\n" + block("m1", "t1") + "middle\n" + block("m2", "t2") + block("m3", "t3") + "end\n";

// A merge with "f.txt" conflicted and selected, its document loaded from
// `text` (which the test puts in the file store).
AppState resolving(const std::string& text, std::int64_t paneRows = 20) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    workspace.status = statusOf({changed("f.txt", core::ChangeKind::conflicted), changed("g.txt")},
                                core::RepositoryOperation::merge);
    workspace.changes.selectedPath = "f.txt";
    workspace.changes.conflicts["f.txt"] = core::ConflictDocument::parse(text);
    workspace.changes.conflictTexts["f.txt"] = {conflictFingerprint(text)};
    workspace.viewports.diff = paneRows;
    return state;
}

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

TEST(ConflictFlowTest, EachChoiceIsWrittenAndTheLastOneMarksTheFileResolvedOnce) {
    AppStoreHarness h(resolving(threeBlocks));
    h.fakes.files->put("/r/f.txt", threeBlocks);

    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming}), (Ids{"conflict-write"}));
    EXPECT_EQ(ws(h).changes.conflicts.at("f.txt").conflictCount(), 2);
    EXPECT_EQ(ws(h).changes.conflictCursor, 0) << "now on the block that was second";
    h.runJob("conflict-write");
    EXPECT_EQ(h.drain(), 1u) << "blocks remain: the write reports nothing";
    EXPECT_EQ(h.fakes.files->content("/r/f.txt"),
              "top\nt1\nmiddle\n" + block("m2", "t2") + block("m3", "t3") + "end\n");

    sendWorkspace(h, WorkspaceAction::ChooseConflict{1, Choice::both});
    EXPECT_EQ(ws(h).changes.conflictCursor, 0) << "the cursor stays on the last block left";
    h.runJob("conflict-write");
    h.drain();
    sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::current});
    h.runJob("conflict-write");
    h.drain();
    EXPECT_EQ(h.fakes.files->content("/r/f.txt"), "top\nt1\nmiddle\nm2\nm3\nt3\nend\n");
    EXPECT_EQ(h.fakes.repository->calls(), (Paths{"markResolved /r f.txt"}));
    const auto actions = h.reducedActions();
    EXPECT_EQ(std::count(actions.begin(), actions.end(), AppAction(WorkspaceAction::ConflictHandled{})), 1);
    EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status"}));
    EXPECT_EQ(h.state().toast->text, core::Text::toastConflictResolved());
    EXPECT_TRUE(ws(h).changes.conflicts.contains("f.txt")) << "the resolved text stays shown until the next status";
}

// A conflicted path that passes through a symbolic link (the file itself, or
// a folder on the way, pointing outside the working tree) is neither read
// nor written on the real disk: no document is shown, a choice fails with a
// message that says why, and the link and what it points at stay as they
// were.
TEST(ConflictFlowTest, ALinkOnTheWayIsNeitherReadNorWritten) {
    using tarv::testing::ScratchFolder;
    struct Case {
        const char* name;
        std::string path;
        // Links the working tree at `tree` to the outside file or folder.
        std::function<void(const ScratchFolder& tree, const ScratchFolder& outside)> link;
    };
    const Case cases[] = {
        {"the file is a link", "f.txt",
         [](const ScratchFolder& tree, const ScratchFolder& outside) {
             ASSERT_EQ(::symlink((outside / "f.txt").c_str(), (tree / "f.txt").c_str()), 0);
         }},
        {"a folder on the way is a link", "sub/f.txt",
         [](const ScratchFolder& tree, const ScratchFolder& outside) {
             ASSERT_EQ(::symlink(outside.path().c_str(), (tree / "sub").c_str()), 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScratchFolder tree;
        ScratchFolder outside;
        outside.write("f.txt", threeBlocks);
        c.link(tree, outside);

        AppState state;
        state.workspace.emplace(tree.path(), "r", std::nullopt);
        auto& workspace = *state.workspace;
        workspace.openingRestRead = true;
        workspace.status = statusOf({changed(c.path, core::ChangeKind::conflicted)}, core::RepositoryOperation::merge);
        workspace.viewports.diff = 20;
        // The document as if it had been read before the link appeared.
        workspace.changes.selectedPath = c.path;
        workspace.changes.conflicts[c.path] = core::ConflictDocument::parse(threeBlocks);
        workspace.changes.conflictTexts[c.path] = {conflictFingerprint(threeBlocks)};
        tarv::testing::FakePorts fakes;
        Dependencies dependencies = fakes.dependencies();
        dependencies.files = std::make_shared<system::LocalFileStore>();
        AppStoreHarness h(std::move(fakes), dependencies, std::move(state));

        sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming});
        h.runJob("conflict-write");
        h.drain();
        const auto actions = h.reducedActions();
        const AppAction failed(
            WorkspaceAction::OperationFailed{"No se sigue un enlace simbólico: " + tree.path() + "/" + c.path});
        EXPECT_NE(std::find(actions.begin(), actions.end(), failed), actions.end());
        EXPECT_EQ(ScratchFolder::read(outside / "f.txt"), threeBlocks);
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(outside.path()), {}), 1)
            << "nothing else was put beside it";
        EXPECT_TRUE(std::filesystem::is_symlink(tree / std::filesystem::path(c.path).begin()->string()));

        sendWorkspace(h, WorkspaceAction::SelectFile{c.path});
        h.runJob("conflict-read-" + c.path);
        h.drain();
        EXPECT_FALSE(ws(h).changes.conflicts.contains(c.path)) << "nothing read through the link";
        EXPECT_TRUE(h.fakes.repository->calls("markResolved").empty());
    }
}

TEST(ConflictFlowTest, AChoiceThatNamesNoBlockDoesNothing) {
    struct Case {
        const char* name;
        std::optional<std::string> selected;
        std::int64_t block;
    };
    const Case cases[] = {
        {"a negative block", "f.txt", -1},
        {"one past the last", "f.txt", 3},
        {"no document for the selected file", "g.txt", 0},
        {"nothing selected", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = resolving(threeBlocks);
        state.workspace->changes.selectedPath = c.selected;
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::ChooseConflict{c.block, Choice::current}), Ids{});
        EXPECT_EQ(ws(h).changes.conflicts.at("f.txt").conflictCount(), 3);
    }
}

// Two quick choices run as two writes of one lane: the newer waits for the
// older, so the file ends with both choices.
TEST(ConflictFlowTest, QuickChoicesAllReachTheFileInTheirOrder) {
    AppStoreHarness h(resolving(threeBlocks));
    h.fakes.files->put("/r/f.txt", threeBlocks);
    sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming});
    sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming});
    const auto jobs = h.jobsWithID("conflict-write");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_THROW(h.executor().runJob(jobs[1]), std::logic_error) << "the newer write ran before the older";
    h.executor().runJob(jobs[0]);
    h.executor().runJob(jobs[1]);
    h.drain();
    EXPECT_EQ(h.fakes.files->content("/r/f.txt"), "top\nt1\nmiddle\nt2\n" + block("m3", "t3") + "end\n");
    EXPECT_EQ(h.fakes.files->calls("writeFile").size(), 2u);
}

// The screen shows the text that was read; a file saved from an editor
// before the watcher reported it must not be overwritten from that parse.
TEST(ConflictFlowTest, AFileChangedSinceItWasReadIsReadAgainAndNotWritten) {
    struct Case {
        const char* name;
        std::optional<std::string> onDisk;
        std::optional<std::int64_t> blocksAfter;
    };
    const Case cases[] = {
        {"resolved by hand", "top\nmine, edited\nend\n", 0},
        {"one block left by hand", "top\n" + block("m1", "t1") + "end\n", 1},
        {"removed", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(resolving(threeBlocks));
        if (c.onDisk) h.fakes.files->put("/r/f.txt", *c.onDisk);
        sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming});
        h.runJob("conflict-write");
        h.drain();
        EXPECT_EQ(h.fakes.files->content("/r/f.txt"), c.onDisk);
        EXPECT_EQ(h.fakes.files->calls("writeFile"), Paths{});
        EXPECT_EQ(h.fakes.repository->calls(), Paths{}) << "nothing marked resolved";
        EXPECT_FALSE(h.state().overlay);
        const auto& conflicts = ws(h).changes.conflicts;
        ASSERT_EQ(conflicts.contains("f.txt"), c.blocksAfter.has_value());
        if (c.blocksAfter) {
            EXPECT_EQ(conflicts.at("f.txt").conflictCount(), *c.blocksAfter);
        }
    }
}

// After a reload the next choice is made on, and written over, the new text.
TEST(ConflictFlowTest, AChoiceAfterTheReloadIsWritten) {
    AppStoreHarness h(resolving(threeBlocks));
    const std::string edited = "top\n" + block("m1", "t1") + "end\n";
    h.fakes.files->put("/r/f.txt", edited);
    sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming});
    h.runJob("conflict-write");
    h.drain();
    sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::current});
    h.runJob("conflict-write");
    h.drain();
    EXPECT_EQ(h.fakes.files->content("/r/f.txt"), "top\nm1\nend\n");
    EXPECT_EQ(h.fakes.repository->calls(), (Paths{"markResolved /r f.txt"}));
}

TEST(ConflictFlowTest, AFailedWriteOrMarkingIsReportedAndTheFileKeepsItsText) {
    struct Case {
        const char* name;
        const char* failing;
        std::string text;
        std::string fileAfter;
    };
    const std::string one = block("mine", "theirs");
    const Case cases[] = {
        {"the write", "writeFile", threeBlocks, threeBlocks},
        {"the marking", "markResolved", one, "theirs\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(resolving(c.text));
        h.fakes.files->put("/r/f.txt", c.text);
        h.fakes.files->fail(c.failing, core::GitError::invalidArgument("disk says no"));
        h.fakes.repository->fail(c.failing, core::GitError::invalidArgument("disk says no"));
        sendWorkspace(h, WorkspaceAction::ChooseConflict{0, Choice::incoming});
        h.runJob("conflict-write");
        h.drain();
        EXPECT_EQ(h.fakes.files->content("/r/f.txt"), c.fileAfter);
        ASSERT_TRUE(h.state().overlay);
        EXPECT_EQ(std::get<Overlay::Message>(h.state().overlay->value).body, core::Text::raw("disk says no"));
        EXPECT_EQ(h.lastJobIds(), (Ids{"status"}));
        EXPECT_FALSE(ws(h).isRefreshing) << "a failed operation reloads without the refresh flag";
    }
}

TEST(ConflictFlowTest, LoadedDocumentsAreKeptOnlyForFilesStillConflicted) {
    AppState state = resolving(threeBlocks);
    state.workspace->changes.conflictCursor = 2;
    state.workspace->changes.conflictOffset = 12;
    AppStoreHarness h(std::move(state));
    const auto one = core::ConflictDocument::parse("a\n" + block("x", "y"));
    h.send(AppAction(WorkspaceAction::ConflictLoaded{"g.txt", one}));
    EXPECT_FALSE(ws(h).changes.conflicts.contains("g.txt")) << "not conflicted";
    h.send(AppAction(WorkspaceAction::ConflictLoaded{"f.txt", one}));
    EXPECT_EQ(ws(h).changes.conflicts.at("f.txt"), one);
    EXPECT_EQ(ws(h).changes.conflictCursor, 0) << "within the blocks";
    EXPECT_EQ(ws(h).changes.conflictOffset, 0) << "7 rows fit the pane";
    h.send(AppAction(WorkspaceAction::ConflictLoaded{"f.txt", std::nullopt}));
    EXPECT_FALSE(ws(h).changes.conflicts.contains("f.txt"));
}

TEST(ConflictFlowTest, TheCursorAndTheScrollStayInsideTheDocument) {
    // Two blocks, 40 rows: 10 plain lines, a block of 4 + 2 rows, 16 plain
    // lines, a block of 4 + 2 rows, 2 plain lines.
    std::string text;
    for (int i = 0; i < 10; ++i) text += "line\n";
    text += block("a", "b");
    for (int i = 0; i < 16; ++i) text += "line\n";
    text += block("c", "d") + "x\ny\n";
    ASSERT_EQ(core::ConflictDocument::parse(text).rows().size(), 40u);

    struct Case {
        const char* name;
        std::string text;
        WorkspaceAction action;
        std::int64_t cursor;
        std::int64_t offset;
    };
    const Case cases[] = {
        {"cursor down by 5: the last block, its header on top as far as it goes", text,
         WorkspaceAction::MoveConflictCursor{5}, 1, 20},
        {"cursor up by 5: the first block's header on top", text, WorkspaceAction::MoveConflictCursor{-5}, 0, 10},
        {"scroll to row 100", text, WorkspaceAction::MoveDiffCursorTo{100}, 0, 20},
        {"scroll to row 100 of a short file", block("a", "b"), WorkspaceAction::MoveDiffCursorTo{100}, 0, 0},
        {"scroll the pane up past the top", text, WorkspaceAction::Scroll{Pane::diff, -50}, 0, 0},
        {"the diff cursor scrolls the document", text, WorkspaceAction::MoveDiffCursor{7}, 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(resolving(c.text));
        h.send(AppAction(c.action));
        EXPECT_EQ(ws(h).changes.conflictCursor, c.cursor);
        EXPECT_EQ(ws(h).changes.conflictOffset, c.offset);
    }
}

TEST(ConflictFlowTest, WholeFileResolutionsAreConflictJobs) {
    struct Case {
        const char* name;
        WorkspaceAction action;
        std::string call;
    };
    const Case cases[] = {
        {"keep theirs", WorkspaceAction::ResolveConflict{"f.txt", core::ConflictResolution::theirs},
         "resolve /r f.txt theirs"},
        {"mark resolved", WorkspaceAction::MarkResolved{"f.txt"}, "markResolved /r f.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(resolving(threeBlocks));
        EXPECT_EQ(sendWorkspace(h, c.action), (Ids{"conflict"}));
        h.runJob("conflict");
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (Paths{c.call}));
        EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status"}));
        EXPECT_TRUE(ws(h).isRefreshing);
    }
}

}  // namespace
}  // namespace tarv::features
