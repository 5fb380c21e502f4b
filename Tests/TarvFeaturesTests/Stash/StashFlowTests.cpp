// The stash flow: stashing (nothing on a clean tree, the branch or "HEAD"
// and the time as message), restoring and dropping the row the user sees,
// the outcomes, and the guard that keeps a quick second drop from hitting a
// stash that moved into the dropped one's position.
#include <gtest/gtest.h>

#include <atomic>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "DirectReducer.hpp"
#include "TarvCore/Errors/GitError.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using Actions = std::vector<AppAction>;

core::StashEntry entry(int index, std::string message) {
    // A stash's commit goes with its message, whatever its place.
    std::string commit = "c-" + message;
    return core::StashEntry{"stash@{" + std::to_string(index) + "}", std::move(message), "main", 100 - index,
                            std::move(commit)};
}

std::vector<core::StashEntry> threeStashes() { return {entry(0, "first"), entry(1, "second"), entry(2, "third")}; }

AppState withStashPicker(std::vector<core::StashEntry> entries, std::optional<std::int64_t> selected) {
    AppState state = withWorkspace();
    state.workspace->stashes = entries;
    StashPickerState picker(std::move(entries));
    picker.list.selected = selected;
    state.overlay = std::move(picker);
    return state;
}

const StashPickerState* openPicker(const AppState& state) {
    return state.overlay ? std::get_if<StashPickerState>(&state.overlay->value) : nullptr;
}

std::vector<std::string> references(const StashPickerState& picker) {
    std::vector<std::string> names;
    for (const auto& e : picker.entries) names.push_back(e.reference);
    return names;
}

TEST(StashChangesTest, StashesWithTheBranchAndTheTimeUnlessThereIsNothingToStashOrAStashRuns) {
    struct Case {
        const char* name;
        bool changed;
        std::optional<std::string> head;
        bool stashing;
        Ids jobs;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"a clean tree: a toast and no git", false, "main", false, {"toast"}, {}},
        {"on a branch", true, "main", false, {"stash"}, {"stash /r main \u00B7 1700000000", "stashes /r"}},
        {"on a detached head", true, std::nullopt, false, {"stash"}, {"stash /r HEAD \u00B7 1700000000", "stashes /r"}},
        {"while a stash job runs", true, "main", true, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirectReducer d;
        d.state.now = 1700000000;
        auto& workspace = *d.state.workspace;
        if (c.changed) workspace.status.files = {changed("a")};
        workspace.status.branch.head = c.head;
        workspace.isStashing = c.stashing;
        const AppEffect effect = d.reducer.stashChanges(d.state);
        EXPECT_EQ(DirectReducer::ids(effect), c.jobs);
        const Actions sent = DirectReducer::run(effect);
        EXPECT_EQ(d.fakes.repository->calls(), c.calls);
        EXPECT_EQ(workspace.isStashing, c.changed || c.stashing);
        if (!c.changed) {
            EXPECT_EQ(d.state.toast->text, core::Text::nothingToStash());
        }
        if (c.jobs == Ids{"stash"}) {
            EXPECT_EQ(sent, (Actions{WorkspaceAction::StashesLoaded{{}},
                                     WorkspaceAction::StashOperationDone{core::Text::toastStashed()}}));
        }
    }
}

TEST(StashOutcomeTest, SuccessRefreshesStatusAndListFailureShowsTheMessageAndReloadsTheList) {
    struct Case {
        const char* name;
        WorkspaceAction outcome;
        Ids jobs;
        bool refreshing;
        std::optional<core::Text> toast;
        std::optional<core::Text> messageBody;
    };
    const Case cases[] = {
        {"done", WorkspaceAction::StashOperationDone{core::Text::toastStashRestored()}, {"toast", "status", "stashes"},
         true, core::Text::toastStashRestored(), std::nullopt},
        {"failed", WorkspaceAction::StashOperationFailed{"CONFLICT in a.txt"}, {"stashes"}, false, std::nullopt,
         core::Text::raw("CONFLICT in a.txt")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withStashPicker(threeStashes(), 0);
        state.workspace->isStashing = true;
        tarv::testing::AppStoreHarness h(std::move(state));
        EXPECT_EQ(sendWorkspace(h, c.outcome), c.jobs);
        const WorkspaceState& workspace = *h.state().workspace;
        EXPECT_FALSE(workspace.isStashing);
        EXPECT_EQ(workspace.isRefreshing, c.refreshing);
        EXPECT_EQ(h.state().toast ? std::optional(h.state().toast->text) : std::nullopt, c.toast);
        if (c.messageBody) {
            const auto* message = std::get_if<Overlay::Message>(&h.state().overlay->value);
            ASSERT_TRUE(message);
            EXPECT_EQ(message->title, core::Text::errorTitle());
            EXPECT_EQ(message->body, *c.messageBody);
        } else {
            EXPECT_TRUE(openPicker(h.state()));
        }
    }
}

TEST(StashPickerActionTest, RestoreAndDropActOnlyOnASelectedRowOfAnOpenRepositoryWhileNoStashRuns) {
    struct Case {
        const char* name;
        std::optional<std::int64_t> selected;
        bool workspace;
        bool stashing;
    };
    const Case cases[] = {
        {"nothing selected", std::nullopt, true, false},
        {"selection past the end", 3, true, false},
        {"no repository open", 0, false, false},
        {"a stash job runs", 0, true, true},
    };
    for (const bool restore : {true, false}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(restore ? "restore: " : "drop: ") + c.name);
            AppState state = withStashPicker(threeStashes(), c.selected);
            state.workspace->isStashing = c.stashing;
            if (!c.workspace) state.workspace.reset();
            DirectReducer d(std::move(state));
            const StashPickerState picker = *openPicker(d.state);
            const AppEffect effect =
                restore ? d.reducer.restoreSelectedStash(d.state, picker) : d.reducer.dropSelectedStash(d.state, picker);
            EXPECT_TRUE(effect.isEmpty());
            ASSERT_TRUE(openPicker(d.state));
            EXPECT_EQ(*openPicker(d.state), picker);
            if (c.workspace) {
                EXPECT_EQ(d.state.workspace->isStashing, c.stashing);
            }
        }
    }
}

TEST(StashDropTest, TheDroppedRowLeavesTheOpenPickerAtOnce) {
    struct Case {
        const char* name;
        std::vector<core::StashEntry> entries;
        std::int64_t selected;
        std::string dropped;
        std::vector<std::string> shown;
        std::optional<std::int64_t> selectedAfter;
    };
    const Case cases[] = {
        {"the first of three", threeStashes(), 0, "c-first", {"stash@{1}", "stash@{2}"}, 0},
        {"the middle one", threeStashes(), 1, "c-second", {"stash@{0}", "stash@{2}"}, 1},
        {"the last of three: the new last row", threeStashes(), 2, "c-third", {"stash@{0}", "stash@{1}"}, 1},
        {"the only one: nothing selected", {entry(0, "only")}, 0, "c-only", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirectReducer d(withStashPicker(c.entries, c.selected));
        const StashPickerState picker = *openPicker(d.state);
        const AppEffect effect = d.reducer.dropSelectedStash(d.state, picker);
        EXPECT_EQ(DirectReducer::ids(effect), Ids{"stash"});
        ASSERT_TRUE(openPicker(d.state));
        EXPECT_EQ(references(*openPicker(d.state)), c.shown);
        EXPECT_EQ(openPicker(d.state)->list.selected, c.selectedAfter);
        EXPECT_TRUE(d.state.workspace->isStashing);
        EXPECT_EQ(DirectReducer::run(effect),
                  (Actions{WorkspaceAction::StashesLoaded{{}},
                           WorkspaceAction::StashOperationDone{core::Text::toastStashDropped()}}));
        EXPECT_EQ(d.fakes.repository->calls(), (std::vector<std::string>{"dropStash /r " + c.dropped, "stashes /r"}));
    }
}

// Dropping the newest stash renumbers the others: what was stash@{1} is
// stash@{0} once git has dropped it. A second drop pressed before the list
// is read again is ignored until the job has reported the list it read after
// its write; then the row the user sees is dropped, by its commit.
TEST(StashDropTest, AQuickSecondDropNeverHitsAStashThatMovedIntoTheDroppedPosition) {
    DirectReducer d(withStashPicker(threeStashes(), 0));
    const AppEffect first = d.reducer.dropSelectedStash(d.state, *openPicker(d.state));
    ASSERT_EQ(DirectReducer::ids(first), Ids{"stash"});

    // The picker shows "second" on row 0 with its old reference: both a drop
    // and a restore of it wait.
    EXPECT_EQ(openPicker(d.state)->entries[0].message, "second");
    EXPECT_TRUE(d.reducer.dropSelectedStash(d.state, *openPicker(d.state)).isEmpty());
    EXPECT_TRUE(d.reducer.restoreSelectedStash(d.state, *openPicker(d.state)).isEmpty());
    EXPECT_TRUE(openPicker(d.state));

    // The job drops, reads what git holds now and reports it first.
    d.fakes.repository->answers.stashes = {entry(0, "second"), entry(1, "third")};
    EXPECT_EQ(d.reduce(DirectReducer::run(first)), (Ids{"toast", "status", "stashes"}));
    EXPECT_FALSE(d.state.workspace->isStashing);
    ASSERT_TRUE(openPicker(d.state));
    EXPECT_EQ(references(*openPicker(d.state)), (std::vector<std::string>{"stash@{0}", "stash@{1}"}));

    // Now the row the user sees is dropped under the reference git uses.
    const AppEffect second = d.reducer.dropSelectedStash(d.state, *openPicker(d.state));
    EXPECT_EQ(openPicker(d.state)->entries[0].message, "third");
    d.fakes.repository->answers.stashes = {entry(0, "third")};
    d.reduce(DirectReducer::run(second));
    EXPECT_EQ(d.fakes.repository->calls("dropStash"),
              (std::vector<std::string>{"dropStash /r c-first", "dropStash /r c-second"}));
    EXPECT_EQ(d.state.workspace->stashes, (std::vector<core::StashEntry>{entry(0, "third")}));
}

TEST(StashRestoreTest, RestoreClosesThePickerAndAFailureStillReloadsTheList) {
    struct Case {
        const char* name;
        bool fails;
        Ids jobs;
    };
    const Case cases[] = {
        {"restored", false, {"toast", "status", "stashes"}},
        {"a conflict while restoring", true, {"stashes"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirectReducer d(withStashPicker(threeStashes(), 1));
        if (c.fails) d.fakes.repository->fail("restoreStash", core::GitError::commandFailed("stash", 1, "CONFLICT"));
        const AppEffect effect = d.reducer.restoreSelectedStash(d.state, *openPicker(d.state));
        EXPECT_EQ(DirectReducer::ids(effect), Ids{"stash"});
        EXPECT_FALSE(d.state.overlay);
        const Actions sent = DirectReducer::run(effect);
        EXPECT_EQ(d.fakes.repository->calls(), (std::vector<std::string>{"restoreStash /r c-second", "stashes /r"}));
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_EQ(sent[0], AppAction(WorkspaceAction::StashesLoaded{{}}));
        EXPECT_EQ(d.reduce(sent), c.jobs);
        EXPECT_FALSE(d.state.workspace->isStashing);
        EXPECT_EQ(d.state.overlay.has_value(), c.fails);
    }
}

// Records, per stash write, whether the token it was handed could ever stop.
class TokenWatchingRepository final : public tarv::testing::FakeRepository {
public:
    std::atomic<int> stoppable = 0;
    void stash(const std::string& r, const std::string& m, std::stop_token s) override {
        note(s);
        FakeRepository::stash(r, m, s);
    }
    void restoreStash(const std::string& r, const std::string& ref, std::stop_token s) override {
        note(s);
        FakeRepository::restoreStash(r, ref, s);
    }
    void dropStash(const std::string& r, const std::string& ref, std::stop_token s) override {
        note(s);
        FakeRepository::dropStash(r, ref, s);
    }

private:
    void note(const std::stop_token& stop) {
        if (stop.stop_possible()) ++stoppable;
    }
};

TEST(StashJobTest, AStashJobReplacedWhileItRunsStillFinishesItsWriteAndReports) {
    auto repository = std::make_shared<TokenWatchingRepository>();
    AppState state = withStashPicker(threeStashes(), 0);
    state.workspace->status.files = {changed("a")};
    DirectReducer d(std::move(state), [&](Dependencies& dependencies) { dependencies.repository = repository; });
    const AppEffect writes[] = {
        d.reducer.dropSelectedStash(d.state, *openPicker(d.state)),
        (d.state.workspace->isStashing = false, d.reducer.restoreSelectedStash(d.state, *openPicker(d.state))),
        (d.state.workspace->isStashing = false, d.reducer.stashChanges(d.state)),
    };
    for (const auto& write : writes) {
        const Actions sent = DirectReducer::run(write, DirectReducer::stopped());
        ASSERT_EQ(sent.size(), 2u);
        EXPECT_TRUE(std::holds_alternative<WorkspaceAction>(sent[1].value));
    }
    EXPECT_EQ(repository->calls("dropStash").size() + repository->calls("restoreStash").size() +
                  repository->calls("stash").size(),
              3u);
    EXPECT_EQ(repository->stoppable.load(), 0);
}

}  // namespace
}  // namespace tarv::features
