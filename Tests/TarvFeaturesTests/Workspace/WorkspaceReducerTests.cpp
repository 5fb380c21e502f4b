// The workspace reducer's frame and its short arms: nothing without an open
// repository, the loading results that store lists and messages, and the
// gestures of navigation (focus, tabs, scrolling, diff text selection,
// copying) and of inclusion.
#include <gtest/gtest.h>

#include "../Diff/DiffFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"
#include "WorkspaceFixtures.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

TEST(WorkspaceReducerTest, NothingHappensWithoutAnOpenRepository) {
    const WorkspaceAction actions[] = {
        WorkspaceAction::StatusLoaded{statusOf(Paths{"a"})},
        WorkspaceAction::FilesChanged{},
        WorkspaceAction::SelectFile{"a"},
        WorkspaceAction::Commit{},
        WorkspaceAction::Undo{},
        WorkspaceAction::DiscardConfirmed{{changed("a")}},
        WorkspaceAction::ChooseConflict{0, core::ConflictChoice::both},
        WorkspaceAction::HistoryLoaded{commitsFrom(0, 3), 0},
        WorkspaceAction::SetTab{WorkspaceTab::history},
        WorkspaceAction::EndDiffTextSelection{"copied text"},
    };
    for (const auto& action : actions) {
        AppStoreHarness h;
        const AppState before = h.state();
        h.send(AppAction(action));
        AppState after = h.state();
        after.now = before.now;
        EXPECT_TRUE(after == before) << "case " << action.value.index();
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(WorkspaceReducerTest, ListsAreStoredAndOpenPickersShowTheNewOnes) {
    AppState state = withWorkspace();
    state.overlay = StashPickerState({core::StashEntry{"stash@{0}", "old"}, core::StashEntry{"stash@{1}", "older"}});
    AppStoreHarness h(std::move(state));
    const std::vector<core::StashEntry> stashes{core::StashEntry{"stash@{0}", "new"}};
    h.send(AppAction(WorkspaceAction::StashesLoaded{stashes}));
    EXPECT_EQ(ws(h).stashes, stashes);
    EXPECT_TRUE(h.state().overlay == Overlay(StashPickerState(stashes)));

    h.send(AppAction(WorkspaceAction::TagsLoaded{{core::Tag{"v1", "c1"}}}));
    EXPECT_EQ(ws(h).tags.size(), 1u);
    EXPECT_TRUE(h.state().overlay == Overlay(StashPickerState(stashes))) << "the tag picker is not open";

    h.send(AppAction(WorkspaceAction::BranchesLoaded{{core::Branch{"main"}}}));
    EXPECT_EQ(ws(h).branches.size(), 1u);
}

TEST(WorkspaceReducerTest, TheRemoteIsRecordedInTheRegistry) {
    AppState state = withWorkspace();
    state.repositories = {core::RepositoryEntry{"/r", "r", std::nullopt, 1, false}};
    AppStoreHarness h(std::move(state));
    EXPECT_EQ(sendWorkspace(h, WorkspaceAction::RemoteLoaded{"https://example.com/o/r.git"}), (Ids{"registry"}));
    EXPECT_EQ(ws(h).remoteURL, "https://example.com/o/r.git");
    EXPECT_EQ(h.state().repositories.at(0).remoteURL, "https://example.com/o/r.git");
}

TEST(WorkspaceReducerTest, CheckResultsAreKeptOnlyForTheirKey) {
    AppState state = withWorkspace();
    state.workspace->sync.checksKey = "o/r@main";
    AppStoreHarness h(std::move(state));
    h.send(AppAction(WorkspaceAction::ChecksLoaded{"o/r@topic", core::CheckSummary{1, 0, 0}}));
    EXPECT_EQ(ws(h).sync.checks, std::nullopt);
    h.send(AppAction(WorkspaceAction::ChecksLoaded{"o/r@main", core::CheckSummary{2, 1, 0}}));
    EXPECT_EQ(ws(h).sync.checks, (core::CheckSummary{2, 1, 0}));
}

TEST(WorkspaceReducerTest, TheMergeMessageFillsOnlyASummaryTheUserDidNotWrite) {
    struct Case {
        const char* name;
        std::string summary;
        std::optional<std::string> autoSummary;
        std::string message;
        std::string expectedSummary;
        std::string expectedDescription;
    };
    const Case cases[] = {
        {"empty summary", "", std::nullopt, "Merge topic\n\n  body line \n", "Merge topic", "body line"},
        {"one line", "", std::nullopt, "Merge topic", "Merge topic", ""},
        {"an empty first line", "", std::nullopt, "\nbody", "", "body"},
        {"our own summary is replaced", "Merge old", "Merge old", "Merge new\nx", "Merge new", "x"},
        {"the user's summary stays", "mine", std::nullopt, "Merge topic\nx", "mine", "keep"},
        {"a summary the user changed stays", "mine", "Merge old", "Merge topic\nx", "mine", "keep"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.workspace->summary.setText(c.summary);
        state.workspace->autoSummary = c.autoSummary;
        state.workspace->description.setText("keep");
        AppStoreHarness h(std::move(state));
        h.send(AppAction(WorkspaceAction::MergeMessageLoaded{c.message}));
        EXPECT_EQ(ws(h).summary.text(), c.expectedSummary);
        EXPECT_EQ(ws(h).description.text(), c.expectedDescription);
        if (c.expectedDescription != "keep") {
            EXPECT_EQ(ws(h).autoSummary, c.expectedSummary);
        }
    }
}

TEST(NavigationTest, FocusRingsFollowTheVisibleTab) {
    struct Case {
        const char* name;
        WorkspaceTab tab;
        WorkspaceFocus from;
        bool reverse;
        WorkspaceFocus expected;
    };
    using F = WorkspaceFocus;
    const Case cases[] = {
        {"changes forward", WorkspaceTab::changes, F::files, false, F::diff},
        {"changes wraps", WorkspaceTab::changes, F::description, false, F::files},
        {"changes backward wraps", WorkspaceTab::changes, F::files, true, F::description},
        {"history forward wraps", WorkspaceTab::history, F::historyDiff, false, F::historyList},
        {"history backward", WorkspaceTab::history, F::historyFiles, true, F::historyList},
        {"from the other tab forward", WorkspaceTab::changes, F::historyList, false, F::diff},
        {"from the other tab backward", WorkspaceTab::changes, F::historyList, true, F::description},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.workspace->tab = c.tab;
        state.workspace->focus = c.from;
        state.workspace->changes.isFilterFocused = true;
        AppStoreHarness h(std::move(state));
        h.send(AppAction(WorkspaceAction::CycleFocus{c.reverse}));
        EXPECT_EQ(ws(h).focus, c.expected);
        EXPECT_FALSE(ws(h).changes.isFilterFocused);
    }
}

TEST(NavigationTest, FocusAndTheFilter) {
    AppStoreHarness h(withWorkspace());
    h.send(AppAction(WorkspaceAction::Focus{WorkspaceFocus::summary}));
    h.send(AppAction(WorkspaceAction::SetFilterFocused{true}));
    EXPECT_EQ(ws(h).focus, WorkspaceFocus::files);
    EXPECT_TRUE(ws(h).changes.isFilterFocused);
    h.send(AppAction(WorkspaceAction::Focus{WorkspaceFocus::files}));
    EXPECT_TRUE(ws(h).changes.isFilterFocused);
    h.send(AppAction(WorkspaceAction::Focus{WorkspaceFocus::diff}));
    EXPECT_FALSE(ws(h).changes.isFilterFocused);
    h.send(AppAction(WorkspaceAction::SetTab{WorkspaceTab::changes}));
    EXPECT_EQ(ws(h).focus, WorkspaceFocus::files);
}

TEST(NavigationTest, TheActiveDiffPaneScrollsAndSelectsText) {
    for (const auto tab : {WorkspaceTab::changes, WorkspaceTab::history}) {
        SCOPED_TRACE(tab == WorkspaceTab::changes ? "changes" : "history");
        AppState state = withWorkspace();
        state.workspace->tab = tab;
        state.workspace->changes.diff.horizontalOffset = 2;
        state.workspace->history.diff.horizontalOffset = 2;
        AppStoreHarness h(std::move(state));
        const auto& active = [&]() -> const DiffViewState& {
            return tab == WorkspaceTab::changes ? ws(h).changes.diff : ws(h).history.diff;
        };
        const auto& other = [&]() -> const DiffViewState& {
            return tab == WorkspaceTab::changes ? ws(h).history.diff : ws(h).changes.diff;
        };
        h.send(AppAction(WorkspaceAction::ScrollDiffHorizontally{-5}));
        EXPECT_EQ(active().horizontalOffset, 0);
        EXPECT_EQ(other().horizontalOffset, 2);

        h.send(AppAction(WorkspaceAction::BeginDiffTextSelection{{3, 0, 4}}));
        h.send(AppAction(WorkspaceAction::ExtendDiffTextSelection{{5, 1, 1}}));
        EXPECT_EQ(active().textSelection, (DiffTextSelection{{3, 0, 4}, {3, 0, 4}})) << "the other side is ignored";
        h.send(AppAction(WorkspaceAction::ExtendDiffTextSelection{{5, 0, 1}}));
        EXPECT_EQ(active().textSelection, (DiffTextSelection{{3, 0, 4}, {5, 0, 1}}));
        EXPECT_EQ(other().textSelection, std::nullopt);

        h.send(AppAction(WorkspaceAction::EndDiffTextSelection{"hello"}));
        EXPECT_TRUE(active().textSelection) << "copying keeps the selection";
        EXPECT_EQ(h.lastJobIds(), (Ids{"-", "toast"}));
        h.send(AppAction(WorkspaceAction::EndDiffTextSelection{""}));
        EXPECT_EQ(active().textSelection, std::nullopt);
        EXPECT_EQ(h.lastJobIds(), Ids{});
        h.runJob("-");
        EXPECT_EQ(h.fakes.platform->calls(), (Paths{"copyToClipboard hello"}));
    }
}

TEST(NavigationTest, AFailedCopyReplacesTheCopiedToastWithTheError) {
    AppStoreHarness h(withWorkspace());
    h.fakes.platform->fail("copyToClipboard", core::GitError::invalidArgument("no clipboard tool"));
    h.send(AppAction(WorkspaceAction::EndDiffTextSelection{"text"}));
    EXPECT_EQ(h.state().toast->text, core::Text::copied());
    h.runJob("-");
    h.drain();
    EXPECT_EQ(h.state().toast->text, core::Text::raw("no clipboard tool"));
    EXPECT_TRUE(h.state().toast->isError);
}

TEST(InclusionTest, ToggleAllWorksOnTheVisibleFilesOnly) {
    struct Case {
        const char* name;
        Paths included;
        Paths expected;
    };
    // Visible with the filter "src": src/a, src/b; hidden: doc.
    const Case cases[] = {
        {"all visible included: all leave", {"src/a", "src/b", "doc"}, {"doc"}},
        {"one visible excluded: all join", {"src/a"}, {"src/a", "src/b"}},
        {"none included", {}, {"src/a", "src/b"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        auto& workspace = *state.workspace;
        workspace.status = statusOf(Paths{"src/a", "doc", "src/b"});
        workspace.changes.knownPaths = {"src/a", "doc", "src/b"};
        workspace.changes.included = {c.included.begin(), c.included.end()};
        workspace.changes.partial["src/a"] = PartialFileSelection{{core::LineRef{0, 1}}, testing::threeHunks()};
        workspace.changes.filter = core::EditableText("SRC");
        AppStoreHarness h(std::move(state));
        h.send(AppAction(WorkspaceAction::ToggleAll{}));
        EXPECT_EQ(sorted(ws(h).changes.included), c.expected);
        EXPECT_TRUE(ws(h).changes.partial.empty());
    }

    AppState state = withWorkspace();
    state.workspace->changes.knownPaths = {"a"};
    state.workspace->changes.included = {"a"};
    state.workspace->changes.partial["a"] = PartialFileSelection{{core::LineRef{0, 1}}, testing::threeHunks()};
    AppStoreHarness h(std::move(state));
    h.send(AppAction(WorkspaceAction::ToggleInclude{"a"}));
    EXPECT_TRUE(ws(h).changes.included.empty());
    EXPECT_TRUE(ws(h).changes.partial.empty());
    h.send(AppAction(WorkspaceAction::ToggleInclude{"a"}));
    EXPECT_EQ(sorted(ws(h).changes.included), (Paths{"a"}));
}

TEST(NavigationTest, ScrollingMovesTheWindowNotTheSelection) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    for (int i = 0; i < 30; ++i) workspace.status.files.push_back(changed("f" + std::to_string(100 + i)));
    workspace.changes.list.selected = 2;
    workspace.changes.diff.setDiff(testing::diffWithLines({50}));
    workspace.history.commits = commitsFrom(0, 30);
    workspace.history.hasMore = false;
    workspace.history.files = {core::CommitFile{"a"}, core::CommitFile{"b"}};
    AppStoreHarness h(std::move(state));
    struct Case {
        Pane pane;
        std::int64_t by;
        std::int64_t expected;
    };
    const Case cases[] = {{Pane::files, 100, 20}, {Pane::diff, 100, 31}, {Pane::historyList, 7, 7},
                          {Pane::historyFiles, 9, 0}, {Pane::historyDiff, 5, 0}};
    for (const auto& c : cases) {
        h.send(AppAction(WorkspaceAction::Scroll{c.pane, c.by}));
        EXPECT_TRUE(h.lastJobIds().empty());
    }
    EXPECT_EQ(ws(h).changes.list.offset, 20);
    EXPECT_EQ(ws(h).changes.list.selected, 2);
    EXPECT_EQ(ws(h).changes.diff.offset, 31);
    EXPECT_EQ(ws(h).history.list.offset, 7);
    EXPECT_EQ(ws(h).history.filesList.offset, 0);
}

}  // namespace
}  // namespace tarv::features
