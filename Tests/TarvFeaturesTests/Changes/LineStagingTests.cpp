// Line-level staging through the store: each gesture on the selected file's
// loaded diff ends as an excluded file, a file included whole, or a partial
// selection of change lines made on that diff.
#include <gtest/gtest.h>

#include "../Diff/DiffFixtures.hpp"
#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;
using K = core::DiffLine::Kind;
using Lines = std::set<core::LineRef>;

// Hunk 0: context, removed, added; hunk 1: added, context, removed.
core::Diff twoHunks() { return testing::diffOf({{K::context, K::removed, K::added}, {K::added, K::context, K::removed}}); }

struct Start {
    core::Diff diff;
    bool included = true;
    std::optional<Lines> partial = std::nullopt;
    bool split = false;
    std::int64_t cursor = 0;
    bool loaded = true;
};

AppState stagedState(const Start& start, core::ChangeKind kind) {
    AppState state = withWorkspace();
    auto& workspace = *state.workspace;
    workspace.status.files = {changed("f", kind)};
    auto& changes = workspace.changes;
    changes.knownPaths = {"f"};
    if (start.included) changes.included = {"f"};
    changes.selectedPath = "f";
    changes.diff = DiffViewState(start.split);
    changes.diff.path = "f";
    if (start.loaded) changes.diff.setDiff(start.diff);
    changes.diff.cursor = start.cursor;
    if (start.partial) changes.partial["f"] = PartialFileSelection{*start.partial, start.diff};
    return state;
}

struct Case {
    const char* name;
    Start start;
    std::vector<WorkspaceAction> actions;
    bool included;
    std::optional<Lines> partial;
};

void check(const Case& c, core::ChangeKind kind = core::ChangeKind::modified) {
    SCOPED_TRACE(c.name);
    AppStoreHarness h(stagedState(c.start, kind));
    for (const auto& action : c.actions) {
        h.send(AppAction(action));
        EXPECT_TRUE(h.lastJobIds().empty());
    }
    const auto& changes = h.state().workspace->changes;
    EXPECT_EQ(changes.included.contains("f"), c.included);
    const auto entry = changes.partial.find("f");
    EXPECT_EQ(entry == changes.partial.end() ? std::nullopt : std::optional<Lines>(entry->second.lines), c.partial);
    if (entry != changes.partial.end()) {
        EXPECT_EQ(entry->second.diff, c.start.diff);
    }
}

WorkspaceAction toggle(std::int64_t hunk, std::int64_t line) { return WorkspaceAction::ToggleLine{{hunk, line}}; }

TEST(LineStagingTest, TogglingLines) {
    const core::Diff one = testing::diffOf({{K::context, K::added}});
    const Case cases[] = {
        {"the only change line of a whole file: excluded", {one}, {toggle(0, 1)}, false, std::nullopt},
        {"one line of a whole file: the others stay", {twoHunks()}, {toggle(0, 1)}, true, Lines{{0, 2}, {1, 0}, {1, 2}}},
        {"every line of an excluded file, one by one: whole",
         {twoHunks(), false},
         {toggle(1, 2), toggle(0, 1), toggle(1, 0), toggle(0, 2)},
         true,
         std::nullopt},
        {"the first line of an excluded file", {twoHunks(), false}, {toggle(1, 0)}, true, Lines{{1, 0}}},
        {"a context line changes nothing", {twoHunks(), true, Lines{{0, 1}}}, {toggle(0, 0)}, true, Lines{{0, 1}}},
        {"a context line of a whole file", {twoHunks()}, {toggle(1, 1)}, true, std::nullopt},
        {"a hunk outside the diff", {twoHunks(), false}, {toggle(2, 0), toggle(-1, 0)}, false, std::nullopt},
        {"a line outside the hunk", {twoHunks(), false}, {toggle(0, 3), toggle(0, -1)}, false, std::nullopt},
    };
    for (const auto& c : cases) check(c);
}

TEST(LineStagingTest, TogglingHunksAndRanges) {
    using Range = WorkspaceAction::SetLineRange;
    const Case cases[] = {
        {"a partly chosen hunk: all of it joins", {twoHunks(), true, Lines{{0, 1}}}, {WorkspaceAction::ToggleHunk{1}},
         true, Lines{{0, 1}, {1, 0}, {1, 2}}},
        {"a wholly chosen hunk leaves", {twoHunks()}, {WorkspaceAction::ToggleHunk{0}}, true, Lines{{1, 0}, {1, 2}}},
        {"a hunk outside the diff", {twoHunks(), false}, {WorkspaceAction::ToggleHunk{7}}, false, std::nullopt},
        {"a drag down across hunks", {twoHunks(), false}, {Range{{0, 2}, {1, 0}, true}}, true, Lines{{0, 2}, {1, 0}}},
        {"the same drag upwards", {twoHunks(), false}, {Range{{1, 0}, {0, 2}, true}}, true, Lines{{0, 2}, {1, 0}}},
        {"a drag that deselects", {twoHunks()}, {Range{{1, 2}, {0, 0}, false}}, false, std::nullopt},
        {"a drag over context only", {twoHunks(), false}, {Range{{0, 0}, {0, 0}, true}}, false, std::nullopt},
    };
    for (const auto& c : cases) check(c);
}

TEST(LineStagingTest, TheCursorKeys) {
    // Unified rows: 0 header, 1-3 hunk 0, 4 header, 5-7 hunk 1.
    // Side by side, hunk 0: row 0 header, row 1 context, row 2 removed beside added.
    const core::Diff paired = testing::diffOf({{K::context, K::removed, K::added}});
    const Case cases[] = {
        {"a line", {twoHunks(), false, std::nullopt, false, 2}, {WorkspaceAction::ToggleCursorLine{}}, true,
         Lines{{0, 1}}},
        {"a context line", {twoHunks(), false, std::nullopt, false, 5 + 1}, {WorkspaceAction::ToggleCursorLine{}},
         false, std::nullopt},
        {"the line key on a hunk header toggles the hunk", {twoHunks(), false, std::nullopt, false, 4},
         {WorkspaceAction::ToggleCursorLine{}}, true, Lines{{1, 0}, {1, 2}}},
        {"the hunk key on a line", {twoHunks(), false, std::nullopt, false, 7}, {WorkspaceAction::ToggleCursorHunk{}},
         true, Lines{{1, 0}, {1, 2}}},
        {"a side-by-side pair: both together", {paired, false, std::nullopt, true, 2},
         {WorkspaceAction::ToggleCursorLine{}}, true, std::nullopt},
        {"a pair with one side chosen: both", {paired, true, Lines{{0, 1}}, true, 2},
         {WorkspaceAction::ToggleCursorLine{}}, true, std::nullopt},
        {"a pair with both chosen: neither", {paired, true, std::nullopt, true, 2}, {WorkspaceAction::ToggleCursorLine{}},
         false, std::nullopt},
        {"past the rows", {twoHunks(), false, std::nullopt, false, 99}, {WorkspaceAction::ToggleCursorLine{}}, false,
         std::nullopt},
    };
    for (const auto& c : cases) check(c);
}

TEST(LineStagingTest, NothingChangesWithoutADiffOrOnAConflictBeingResolved) {
    const Start unloaded{twoHunks(), false, std::nullopt, false, 2, false};
    for (const auto& action : std::vector<WorkspaceAction>{
             toggle(0, 1), WorkspaceAction::ToggleHunk{0}, WorkspaceAction::SetLineRange{{0, 0}, {1, 2}, true},
             WorkspaceAction::ToggleCursorLine{}, WorkspaceAction::ToggleCursorHunk{}}) {
        check({"no diff loaded", unloaded, {action}, false, std::nullopt});
    }
    AppState state = stagedState({twoHunks(), false, std::nullopt, false, 2}, core::ChangeKind::conflicted);
    state.workspace->changes.conflicts["f"] = core::ConflictDocument::parse("<<<<<<< a\nx\n=======\ny\n>>>>>>> b\n");
    AppStoreHarness resolving(std::move(state));
    resolving.send(AppAction(WorkspaceAction::ToggleCursorLine{}));
    resolving.send(AppAction(WorkspaceAction::ToggleCursorHunk{}));
    EXPECT_FALSE(resolving.state().workspace->changes.included.contains("f"));
}

}  // namespace
}  // namespace tarv::features
