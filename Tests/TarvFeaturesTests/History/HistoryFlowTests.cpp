// The History tab through the store: pages and loading more near the end
// (never a page twice, never one that does not continue the list shown),
// fresh first pages that keep the selected commit, the commit and file
// selections, and the files and diffs they load.
#include <gtest/gtest.h>

#include "../Diff/DiffFixtures.hpp"
#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;

const HistoryState& history(const AppStoreHarness& h) { return h.state().workspace->history; }

// The History tab showing `count` commits ("c0" ...), none selected; a
// full page may have more after it.
AppState showingHistory(int count, WorkspaceTab tab = WorkspaceTab::history) {
    AppState state = withWorkspace();
    state.workspace->tab = tab;
    state.workspace->history.commits = commitsFrom(0, count);
    state.workspace->history.hasMore = count == HistoryState::pageSize;
    return state;
}

std::vector<std::string> shas(const HistoryState& history) {
    std::vector<std::string> result;
    for (const auto& commit : history.commits) result.push_back(commit.sha);
    return result;
}

TEST(HistoryPagesTest, AFullPageMeansMayBeMore) {
    struct Case {
        const char* name;
        int count;
        bool hasMore;
    };
    const Case cases[] = {{"100", 100, true}, {"99", 99, false}, {"none", 0, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(withWorkspace());
        h.send(AppAction(WorkspaceAction::HistoryLoaded{commitsFrom(0, c.count), 0}));
        EXPECT_EQ(history(h).hasMore, c.hasMore);
        EXPECT_EQ(history(h).list.selected, c.count ? std::optional<std::int64_t>(0) : std::nullopt);
    }
}

TEST(HistoryPagesTest, MoreLoadsWithinFiveRowsOfTheEndAndNeverTwice) {
    struct Case {
        const char* name;
        WorkspaceAction action;
        Ids jobs;
    };
    const Case cases[] = {
        {"select row 89: 99 reaches 95", WorkspaceAction::SelectCommit{89}, {"commitFiles", "historyMore"}},
        {"select row 84: 94 does not", WorkspaceAction::SelectCommit{84}, {"commitFiles"}},
        {"scroll the list to its end", WorkspaceAction::Scroll{Pane::historyList, 200}, {"historyMore"}},
        {"scroll by a little", WorkspaceAction::Scroll{Pane::historyList, 3}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(showingHistory(100));
        EXPECT_EQ(sendWorkspace(h, c.action), c.jobs);
    }

    AppStoreHarness h(showingHistory(100));
    h.fakes.repository->answers.commits = commitsFrom(0, 250);
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{95}), (Ids{"commitFiles", "historyMore"}));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{99}), (Ids{"commitFiles"})) << "one load at a time";
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Scroll{Pane::historyList, 100}), Ids{});
    h.runJob("historyMore");
    h.drain();
    EXPECT_EQ(history(h).commits.size(), 200u);
    EXPECT_TRUE(history(h).hasMore);
    EXPECT_EQ(history(h).list.selected, 99) << "appending keeps the selection";
    sendWorkspace(h, WorkspaceAction::SelectCommit{199});
    h.runJob("historyMore");
    h.drain();
    EXPECT_EQ(history(h).commits.size(), 250u);
    EXPECT_FALSE(history(h).hasMore);
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{249}), (Ids{"commitFiles"}));
    EXPECT_EQ(h.fakes.repository->calls("history"), (Paths{"history /r 100 100", "history /r 200 100"}));
}

// A page asked for before a refresh or a branch switch answers for the
// history that was shown then; it must never be appended to the new one.
TEST(HistoryPagesTest, APageThatDoesNotContinueTheListShownIsDropped) {
    struct Case {
        const char* name;
        int freshPage;  // commits of the fresh first page that arrives meanwhile; -1: none
        std::int64_t staleSkip;
        std::size_t count;
    };
    const Case cases[] = {
        {"a refresh with as many commits", 100, 100, 100},
        {"a branch with fewer commits", 30, 100, 30},
        {"no refresh, but the skip is not the end", -1, 50, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(showingHistory(100));
        sendWorkspace(h, WorkspaceAction::SelectCommit{95});
        ASSERT_TRUE(history(h).isLoading);
        if (c.freshPage >= 0) {
            std::vector<core::Commit> fresh = commitsFrom(1000, c.freshPage);
            h.send(AppAction(WorkspaceAction::HistoryLoaded{fresh, 0}));
            EXPECT_EQ(h.lastCancelledIDs(), (Ids{"historyMore"}));
            EXPECT_FALSE(history(h).isLoading);
        }
        const auto before = shas(history(h));
        h.send(AppAction(WorkspaceAction::HistoryLoaded{commitsFrom(100, 100), c.staleSkip}));
        EXPECT_EQ(shas(history(h)), before);
        EXPECT_EQ(history(h).commits.size(), c.count);
        EXPECT_EQ(h.lastJobIds(), Ids{});
        if (c.freshPage >= 0) {
            EXPECT_FALSE(history(h).isLoading) << "loading has ended";
        }
    }
}

TEST(HistoryPagesTest, AFreshFirstPageKeepsTheSelectedCommitWhereverItMoved) {
    AppState state = showingHistory(3);
    auto& shown = state.workspace->history;
    shown.list.selected = 1;
    shown.files = {core::CommitFile{"f.txt"}};
    shown.selectedFilePath = "f.txt";
    AppStoreHarness h(std::move(state));
    std::vector<core::Commit> page = commitsFrom(0, 3);
    page.insert(page.begin(), commitWithID("new"));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::HistoryLoaded{page, 0}), Ids{});
    EXPECT_EQ(history(h).list.selected, 2);
    EXPECT_EQ(history(h).files.size(), 1u) << "its files stay";

    // Without the selected commit: the list starts over at row 0 and loads
    // its files, on the History tab only.
    for (const auto tab : {WorkspaceTab::history, WorkspaceTab::changes}) {
        AppState other = showingHistory(3, tab);
        other.workspace->history.list.selected = 1;
        other.workspace->history.files = {core::CommitFile{"f.txt"}};
        AppStoreHarness again(std::move(other));
        const Ids jobs = sendWorkspace(again, WorkspaceAction::HistoryLoaded{commitsFrom(10, 5), 0});
        EXPECT_EQ(jobs, tab == WorkspaceTab::history ? Ids{"commitFiles"} : Ids{});
        EXPECT_EQ(history(again).list.selected, 0);
        EXPECT_TRUE(history(again).files.empty());
    }
}

TEST(HistorySelectionTest, MovingTheCommitSelection) {
    struct Case {
        const char* name;
        std::optional<std::int64_t> selected;
        std::int64_t by;
        std::int64_t expected;
    };
    const Case cases[] = {
        {"down from nothing", std::nullopt, 1, 0},     {"up from nothing", std::nullopt, -1, 4},
        {"zero from nothing", std::nullopt, 0, 4},     {"past the end", 4, 3, 4},
        {"past the start", 0, -1, 0},                  {"down", 1, 2, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = showingHistory(5);
        state.workspace->history.list.selected = c.selected;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(WorkspaceAction::MoveCommitSelection{c.by}));
        EXPECT_EQ(history(h).list.selected, c.expected);
        EXPECT_EQ(h.state().workspace->focus, WorkspaceFocus::historyList);
    }
    AppStoreHarness empty(withWorkspace());
    EXPECT_EQ(sendWorkspace(empty, WorkspaceAction::MoveCommitSelection{1}), Ids{});
}

TEST(HistorySelectionTest, ACommitLoadsItsFilesThenTheFirstFilesDiff) {
    AppStoreHarness h(showingHistory(3));
    h.fakes.repository->answers.commitFiles = {{"c1", {core::CommitFile{"a.txt"}, core::CommitFile{"b.txt"}}}};
    h.fakes.repository->answers.commitDiff = testing::threeHunks();
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{1}), (Ids{"commitFiles"}));
    EXPECT_TRUE(history(h).isLoadingFiles);
    h.runJob("commitFiles");
    h.drain();
    EXPECT_EQ(h.lastJobIds(), (Ids{"commitDiff"}));
    EXPECT_EQ(history(h).filesList.selected, 0);
    EXPECT_EQ(history(h).selectedFilePath, "a.txt");
    h.runJob("commitDiff");
    h.drain();
    EXPECT_EQ(history(h).diff.diff(), testing::threeHunks());
    EXPECT_EQ(h.fakes.repository->calls(), (Paths{"files c1 /r", "diffOfCommit c1 a.txt /r"}));

    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommitFile{0}), Ids{}) << "its diff is already shown";
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{1}), Ids{}) << "the same commit keeps its files";
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::MoveCommitFileSelection{1}), (Ids{"commitDiff"}));
    EXPECT_EQ(history(h).selectedFilePath, "b.txt");

    // A late answer for another commit changes nothing.
    h.send(AppAction(WorkspaceAction::CommitFilesLoaded{"c2", {core::CommitFile{"z"}}}));
    EXPECT_EQ(history(h).files.size(), 2u);
}

// A commit whose files cannot be read keeps git's message for the files
// pane; selecting it again reads again.
TEST(HistorySelectionTest, FilesThatCannotBeReadKeepTheError) {
    AppStoreHarness h(showingHistory(3));
    h.fakes.repository->fail("files", core::GitError::commandFailed("git show", 128, "fatal: unable to read 3b18e5"));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{1}), (Ids{"commitFiles"}));
    h.runJob("commitFiles");
    h.drain();
    EXPECT_FALSE(history(h).isLoadingFiles);
    EXPECT_EQ(history(h).filesError, "fatal: unable to read 3b18e5");
    EXPECT_TRUE(h.lastJobIds().empty()) << "no diff of a file nobody chose";

    h.fakes.repository->succeed("files");
    h.fakes.repository->answers.commitFiles = {{"c1", {core::CommitFile{"a.txt"}}}};
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SelectCommit{1}), (Ids{"commitFiles"}));
    EXPECT_FALSE(history(h).filesError);
    h.runJob("commitFiles");
    h.drain();
    EXPECT_EQ(history(h).files.size(), 1u);
}

TEST(HistorySelectionTest, MovingTheFileSelectionFromNothing) {
    struct Case {
        const char* name;
        std::int64_t by;
        std::string expected;
    };
    const Case cases[] = {{"down: the first", 1, "a"}, {"up: the last", -1, "c"}, {"zero: the last", 0, "c"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = showingHistory(1);
        state.workspace->history.list.selected = 0;
        state.workspace->history.files = {core::CommitFile{"a"}, core::CommitFile{"b"}, core::CommitFile{"c"}};
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::MoveCommitFileSelection{c.by}), (Ids{"commitDiff"}));
        EXPECT_EQ(history(h).selectedFilePath, c.expected);
    }
}

TEST(HistorySelectionTest, FailuresEndLoadingAndSayWhatHappened) {
    AppStoreHarness h(showingHistory(100));
    h.fakes.repository->fail("history", core::GitError::invalidOutput("bad log"));
    h.fakes.repository->fail("files", core::GitError::invalidOutput("bad files"));
    h.fakes.repository->fail("diffOfCommit", core::GitError::invalidOutput("bad diff"));
    sendWorkspace(h, WorkspaceAction::SelectCommit{99});
    h.settle();
    EXPECT_FALSE(history(h).isLoading);
    EXPECT_EQ(history(h).commits.size(), 100u) << "the list keeps what it had";
    EXPECT_FALSE(history(h).isLoadingFiles);
    EXPECT_EQ(history(h).filesError, "bad files") << "a failed file list says why";

    AppState state = showingHistory(1);
    state.workspace->history.list.selected = 0;
    state.workspace->history.files = {core::CommitFile{"a"}};
    AppStoreHarness withFiles(std::move(state));
    withFiles.fakes.repository->fail("diffOfCommit", core::GitError::invalidOutput("bad diff"));
    sendWorkspace(withFiles, WorkspaceAction::SelectCommitFile{0});
    withFiles.settle();
    EXPECT_EQ(history(withFiles).diff.error, "bad diff");
    EXPECT_FALSE(history(withFiles).diff.isLoading);
}

// A page being read shows as loading (never "No commits yet"), and showing
// the tab again does not start it over.
TEST(HistoryTabTest, ShowingTheTabLoadsWhatIsMissing) {
    struct Case {
        const char* name;
        int commits;
        std::optional<std::int64_t> selected;
        bool filesLoaded;
        bool loading;
        bool firstStatusIn;
        Ids jobs;
        bool loadingAfter;
    };
    const Case cases[] = {
        {"nothing loaded", 0, std::nullopt, false, false, true, {"history"}, true},
        {"a page already loading", 0, std::nullopt, false, true, true, {}, true},
        {"before the first status", 0, std::nullopt, false, false, false, {"branches", "remote", "history", "stashes"},
         true},
        {"commits, none selected", 3, std::nullopt, false, false, true, {"commitFiles"}, false},
        {"a selection without files", 3, 1, false, false, true, {"commitFiles"}, false},
        {"everything there", 3, 1, true, false, true, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = showingHistory(c.commits, WorkspaceTab::changes);
        auto& shown = state.workspace->history;
        shown.list.selected = c.selected;
        if (c.filesLoaded) shown.files = {core::CommitFile{"a"}};
        shown.isLoading = c.loading;
        state.workspace->openingRestRead = c.firstStatusIn;
        state.workspace->changes.isFilterFocused = true;
        AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SetTab{WorkspaceTab::history}), c.jobs);
        EXPECT_EQ(h.state().workspace->focus, WorkspaceFocus::historyList);
        EXPECT_FALSE(h.state().workspace->changes.isFilterFocused);
        EXPECT_EQ(history(h).isLoading, c.loadingAfter);
        if (c.loadingAfter) {
            EXPECT_EQ(sendWorkspace(h, WorkspaceAction::SetTab{WorkspaceTab::history}), Ids{})
                << "showing the tab again starts nothing over";
        }
    }
}

}  // namespace
}  // namespace tarv::features
