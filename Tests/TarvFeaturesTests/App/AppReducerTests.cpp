// The root reducer's own arms: the time stamp, toasts, list clamping and the
// small window and overlay events; and the arms whose groups have not landed.
#include "TarvFeatures/App/AppReducer.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "Support/AppStoreHarness.hpp"
#include "Support/ModelFixtures.hpp"

namespace tarv::features {
namespace {

using testing::AppStoreHarness;
using testing::commitWithID;
using Ids = std::vector<std::string>;
using std::chrono::milliseconds;
using std::chrono::seconds;

AppState withWorkspace() {
    AppState state;
    state.workspace.emplace("/r", "r", std::nullopt);
    return state;
}

TEST(AppReducerTest, EveryActionStampsTheClocksSecondFirst) {
    AppStoreHarness h;
    h.fakes.clock->setNow(std::chrono::system_clock::time_point(milliseconds(1'700'000'123'900)));
    h.send(AppAction::Tick{});
    EXPECT_EQ(h.state().now, 1'700'000'123);
    h.fakes.clock->advance(seconds(30));
    h.send(AppAction::Quit{});
    EXPECT_EQ(h.state().now, 1'700'000'153);
    EXPECT_TRUE(h.state().shouldQuit);
}

TEST(AppReducerTest, ASecondToastReplacesTheFirstAndTheFirstTimerNeverFires) {
    struct Case {
        bool secondIsError;
        milliseconds shownFor;
    };
    for (const Case c : {Case{false, seconds(4)}, Case{true, seconds(7)}}) {
        SCOPED_TRACE(c.secondIsError ? "error" : "notice");
        AppStoreHarness h;
        h.send(AppAction::Notice{core::Text::raw("first"), false});
        EXPECT_EQ(h.lastJobIds(), Ids{"toast"});
        h.send(AppAction::Notice{core::Text::raw("second"), c.secondIsError});
        EXPECT_EQ(h.lastJobIds(), Ids{"toast"});
        EXPECT_EQ(h.state().toast, (Toast{2, core::Text::raw("second"), c.secondIsError}));

        // Both are timers waiting for their time, not jobs that sleep.
        const auto toastJobs = h.jobsWithID("toast");
        ASSERT_EQ(toastJobs.size(), 2u);
        EXPECT_EQ(h.executor().job(toastJobs[0]).delay, seconds(4));
        EXPECT_EQ(h.executor().job(toastJobs[1]).delay, c.shownFor);
        EXPECT_FALSE(h.executor().job(toastJobs[1]).started);

        // The first timer was replaced: when its time comes it does not run.
        EXPECT_TRUE(h.executor().isStopRequested(toastJobs[0]));
        h.executor().runJob(toastJobs[0]);
        EXPECT_TRUE(h.executor().job(toastJobs[0]).skipped);
        h.drain();
        ASSERT_TRUE(h.state().toast);
        EXPECT_EQ(h.state().toast->id, 2);

        h.executor().runJob(toastJobs[1]);
        h.drain();
        EXPECT_FALSE(h.state().toast);
        EXPECT_TRUE(h.fakes.clock->sleeps().empty()) << "a toast timer sleeps on no thread";
    }
}

TEST(AppReducerTest, ExternalEditorFailureWithoutRepositoryOnlyClearsTheRequestAndShowsAPlainToast) {
    AppState state;
    state.externalRequest = core::ExternalRequest::terminalEditor("/r/file");
    AppStoreHarness h(std::move(state));
    h.send(AppAction::ExternalFinished{true});
    EXPECT_FALSE(h.state().externalRequest);
    EXPECT_EQ(h.state().toast, (Toast{1, core::Text::externalEditorFailed(), false}));
    EXPECT_EQ(h.lastJobIds(), Ids{"toast"});
    EXPECT_EQ(h.executor().job(h.jobsWithID("toast").at(0)).delay, seconds(4));
}

TEST(AppReducerTest, WindowFocusStartsNoJobWithoutARepository) {
    AppStoreHarness h;
    h.send(AppAction::WindowFocus{false});
    EXPECT_FALSE(h.state().isWindowFocused);
    EXPECT_TRUE(h.lastJobIds().empty());
    h.send(AppAction::WindowFocus{true});
    EXPECT_TRUE(h.state().isWindowFocused);
    EXPECT_TRUE(h.lastJobIds().empty());
}

TEST(AppReducerTest, RegainingFocusAndReturningFromAnEditorRefreshTheOpenRepository) {
    struct Case {
        const char* name;
        AppAction action;
        Ids jobs;
    };
    const Case cases[] = {
        {"focus lost", AppAction::WindowFocus{false}, {}},
        {"focus regained", AppAction::WindowFocus{true}, {"status"}},
        {"editor ended", AppAction::ExternalFinished{false}, {"status"}},
        {"editor failed", AppAction::ExternalFinished{true}, {"status", "toast"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(withWorkspace());
        h.send(c.action);
        EXPECT_EQ(h.lastJobIds(), c.jobs);
    }
}

TEST(AppReducerTest, ContextMenuOpensOverAnyOverlayAndAnEmptyOneClosesIt) {
    AppState state;
    state.overlay = Overlay(Overlay::Help{});
    AppStoreHarness h(std::move(state));
    const std::vector<core::AppCommand> items{core::AppCommand::renameBranch, core::AppCommand::deleteBranch};
    h.send(AppAction::OpenContextMenu{items, 12, 4, "topic"});
    ASSERT_TRUE(h.state().overlay);
    EXPECT_EQ(*h.state().overlay, Overlay(ContextMenuState(items, 12, 4, "topic")));
    h.send(AppAction::OpenContextMenu{{}, 1, 1, std::nullopt});
    EXPECT_FALSE(h.state().overlay);
    EXPECT_TRUE(h.lastJobIds().empty());
}

TEST(AppReducerTest, DismissalOfAnotherToastIsIgnoredAndOfTheShownOneCancelsItsTimer) {
    AppStoreHarness h;
    h.send(AppAction::Notice{core::Text::raw("shown"), false});
    h.send(AppAction::DismissToast{7});
    EXPECT_TRUE(h.state().toast);
    EXPECT_TRUE(h.lastCancelledIDs().empty());
    h.send(AppAction::DismissToast{1});
    EXPECT_FALSE(h.state().toast);
    EXPECT_EQ(h.lastCancelledIDs(), Ids{"toast"});
    EXPECT_TRUE(h.executor().isStopRequested(h.jobsWithID("toast").at(0)));
}

// A diff of one hunk with `lines` context lines: 1 + lines rows unified.
core::Diff diffOf(int lines) {
    core::DiffHunk hunk{"@@ -1,1 +1,1 @@", 1, 1, 1, 1, {}};
    for (int i = 0; i < lines; ++i) hunk.lines.push_back({core::DiffLine::Kind::context, "x", i + 1, i + 1});
    return core::Diff{false, {hunk}};
}

TEST(ClampListsTest, DiffOffsetsKeepTheLastRowAtTheBottomAndAZeroHeightCountsAsOne) {
    struct Case {
        const char* name;
        std::int64_t height;
        std::int64_t offset;
        std::int64_t expected;  // of a 30-row diff
    };
    const Case cases[] = {
        {"fits below the last row", 20, 5, 5},
        {"pulled back to rows - height", 20, 25, 10},
        {"height 0 counts as 1", 0, 40, 29},
        {"negative height counts as 1", -3, 40, 29},
        {"negative offset becomes 0", 20, -4, 0},
        {"taller than the diff", 50, 7, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withWorkspace();
        state.workspace->changes.diff.setDiff(diffOf(29));
        state.workspace->changes.diff.offset = c.offset;
        state.workspace->history.diff.setDiff(diffOf(29));
        state.workspace->history.diff.offset = c.offset;
        ASSERT_EQ(state.workspace->changes.diff.rowCount(), 30);
        AppStoreHarness h(std::move(state));
        Viewports sizes;
        sizes.diff = c.height;
        h.send(AppAction::Viewports{sizes});
        EXPECT_EQ(h.state().viewports, sizes);
        EXPECT_EQ(h.state().workspace->viewports, sizes);
        EXPECT_EQ(h.state().workspace->changes.diff.offset, c.expected);
        EXPECT_EQ(h.state().workspace->history.diff.offset, c.expected);
        EXPECT_TRUE(h.lastJobIds().empty());
    }
}

TEST(ClampListsTest, ListsAreClampedToTheirRowsAndHeights) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    for (const char* path : {"a.txt", "b.txt", "notes.md"}) {
        workspace.status.files.push_back(core::FileChange{path, std::nullopt, core::ChangeKind::modified, false, true});
    }
    workspace.changes.filter = core::EditableText(".txt");
    workspace.changes.list = core::ListScroll{4, 9};
    for (int i = 0; i < 3; ++i) workspace.history.commits.push_back(commitWithID(std::to_string(i)));
    workspace.history.list = core::ListScroll{2, 8};
    workspace.history.filesList = core::ListScroll{1, 3};
    AppStoreHarness h(std::move(state));
    Viewports sizes;
    sizes.fileList = 1;
    h.send(AppAction::Viewports{sizes});
    const auto& clamped = *h.state().workspace;
    // Two files pass the ".txt" filter; the selection goes to the last.
    EXPECT_EQ(clamped.changes.list, (core::ListScroll{1, 1}));
    EXPECT_EQ(clamped.history.list, (core::ListScroll{0, 2}));
    // The selected commit's files are not loaded: nothing to select.
    EXPECT_EQ(clamped.history.filesList.selected, std::nullopt);
}

// With no overlay open and the file list focused without its filter, an
// overlay action, typed text and a paste have nowhere to go: nothing changes
// and no job starts.
TEST(AppReducerTest, NoOverlayAndNoFocusedFieldTakeNoOverlayActionEditOrPaste) {
    struct Case {
        const char* group;
        AppAction action;
    };
    const Case cases[] = {
        {"overlay", AppAction(OverlayAction::Dismiss{})},
        {"text edit", AppAction(AppAction::Edit{core::TextEdit::insert("x")})},
        {"paste", AppAction(AppAction::Pasted{"pasted"})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.group);
        AppStoreHarness h(withWorkspace());
        AppState expected = h.state();
        h.send(c.action);
        expected.now = h.state().now;
        EXPECT_TRUE(h.state() == expected);
        EXPECT_TRUE(h.lastJobIds().empty());
        EXPECT_TRUE(h.lastCancelledIDs().empty());
    }
}

}  // namespace
}  // namespace tarv::features
