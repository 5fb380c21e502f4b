// Tags: creating one on a commit, the picker's list, deleting the selected
// tag (the row leaves the picker at once), jumping to a tag's commit in the
// History tab, and tag writes that a later "branch" job never stops.
#include <gtest/gtest.h>

#include <atomic>

#include "../Stash/DirectReducer.hpp"
#include "../Workspace/WorkspaceFixtures.hpp"
#include "TarvCore/Errors/GitError.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using Actions = std::vector<AppAction>;

std::vector<core::Tag> tagsNamed(const std::vector<std::string>& names) {
    std::vector<core::Tag> tags;
    for (const auto& name : names) tags.push_back(core::Tag{name, "sha-" + name});
    return tags;
}

std::vector<std::string> tagNames(std::string a, std::string b) { return {std::move(a), std::move(b)}; }

std::vector<std::string> namesOf(const std::vector<core::Tag>& tags) {
    std::vector<std::string> names;
    for (const auto& tag : tags) names.push_back(tag.name);
    return names;
}

AppState withTagPicker(std::vector<core::Tag> tags, std::optional<std::int64_t> selected) {
    AppState state = withWorkspace();
    state.workspace->tags = tags;
    state.overlay = TagPickerState(std::move(tags), core::ListScroll{.offset = 0, .selected = selected});
    return state;
}

const TagPickerState* openPicker(const AppState& state) {
    return state.overlay ? std::get_if<TagPickerState>(&state.overlay->value) : nullptr;
}

TEST(TagCreateTest, CreatesTheTagOnTheCommitAndReportsThroughTheBranchOutcomes) {
    struct Case {
        const char* name;
        bool fails;
        AppAction reported;
    };
    const Case cases[] = {
        {"created", false, WorkspaceAction::BranchOperationDone{core::Text::toastTagCreated("v1.0")}},
        {"refused", true, WorkspaceAction::BranchOperationFailed{"invalido: v1.0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        tarv::testing::AppStoreHarness h(withWorkspace());
        if (c.fails) h.fakes.repository->fail("createTag", core::GitError::invalidArgument("invalido: v1.0"));
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::CreateTag{"v1.0", "abc123"}), Ids{"branch"});
        ASSERT_TRUE(h.runJob("branch"));
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (std::vector<std::string>{"createTag /r v1.0 abc123"}));
        const auto reduced = h.reducedActions();
        EXPECT_EQ(reduced.back(), c.reported);
    }
}

TEST(TagListTest, TheListFillsAnOpenPickerAndAFailedListingSendsNothing) {
    for (const bool fails : {false, true}) {
        SCOPED_TRACE(fails ? "failed" : "listed");
        AppState state = withWorkspace();
        state.overlay = TagPickerState(std::vector<core::Tag>{});
        tarv::testing::AppStoreHarness h(std::move(state));
        h.fakes.repository->answers.tags = tagsNamed({"v1", "v2"});
        if (fails) h.fakes.repository->fail("tags", core::GitError::invalidOutput("x"));
        h.send(AppAction::Command{core::AppCommand::showTags});
        EXPECT_EQ(h.lastJobIds(), Ids{"tags"});
        ASSERT_TRUE(h.runJob("tags"));
        h.drain();
        ASSERT_TRUE(openPicker(h.state()));
        const std::vector<std::string> expected = fails ? std::vector<std::string>() : tagNames("v1", "v2");
        EXPECT_EQ(namesOf(openPicker(h.state())->tags), expected);
        EXPECT_EQ(openPicker(h.state())->list.selected, fails ? std::nullopt : std::optional<std::int64_t>(0));
    }
}

TEST(TagDeleteTest, TheSelectedTagLeavesThePickerAtOnceAndIsDeletedWithoutConfirmation) {
    struct Case {
        const char* name;
        std::vector<std::string> tags;
        std::optional<std::int64_t> selected;
        bool workspace;
        std::vector<std::string> shown;
        std::optional<std::int64_t> selectedAfter;
        std::vector<std::string> calls;
    };
    const Case cases[] = {
        {"the last of three: the new last row", {"a", "b", "c"}, 2, true, {"a", "b"}, 1, {"deleteTag /r c"}},
        {"the middle of three: the same row", {"a", "b", "c"}, 1, true, {"a", "c"}, 1, {"deleteTag /r b"}},
        {"the only tag: nothing selected", {"a"}, 0, true, {}, std::nullopt, {"deleteTag /r a"}},
        {"nothing selected", {"a", "b"}, std::nullopt, true, {"a", "b"}, std::nullopt, {}},
        {"selection past the end", {"a", "b"}, 2, true, {"a", "b"}, 2, {}},
        {"no repository open", {"a", "b"}, 0, false, {"a", "b"}, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withTagPicker(tagsNamed(c.tags), c.selected);
        if (!c.workspace) state.workspace.reset();
        DirectReducer d(std::move(state));
        const TagPickerState picker = *openPicker(d.state);
        const AppEffect effect = d.reducer.deleteSelectedTag(d.state, picker);
        EXPECT_EQ(DirectReducer::ids(effect), c.calls.empty() ? Ids{} : Ids{"branch"});
        ASSERT_TRUE(openPicker(d.state));
        EXPECT_EQ(namesOf(openPicker(d.state)->tags), c.shown);
        EXPECT_EQ(openPicker(d.state)->list.selected, c.selectedAfter);
        const Actions sent = DirectReducer::run(effect);
        EXPECT_EQ(d.fakes.repository->calls(), c.calls);
        if (!c.calls.empty()) {
            const std::string deleted = c.calls[0].substr(std::string("deleteTag /r ").size());
            EXPECT_EQ(sent, Actions{WorkspaceAction::BranchOperationDone{core::Text::toastTagDeleted(deleted)}});
            // The workspace's list is left for the next load.
            EXPECT_EQ(d.state.workspace->tags.size(), c.tags.size());
        }
    }
}

TEST(TagDeleteTest, AFailedDeleteReportsTheErrorAndTheRowStaysRemoved) {
    DirectReducer d(withTagPicker(tagsNamed({"a", "b"}), 0));
    d.fakes.repository->fail("deleteTag", core::GitError::invalidArgument("no se pudo"));
    const AppEffect effect = d.reducer.deleteSelectedTag(d.state, *openPicker(d.state));
    EXPECT_EQ(DirectReducer::run(effect), Actions{WorkspaceAction::BranchOperationFailed{"no se pudo"}});
    EXPECT_EQ(namesOf(openPicker(d.state)->tags), std::vector<std::string>{"b"});
}

TEST(TagJumpTest, ShowsTheTagsCommitInTheHistoryTabOrSaysItIsNotLoaded) {
    struct Case {
        const char* name;
        std::string commit;
        std::optional<std::int64_t> selected;
        bool closes;
        std::optional<std::int64_t> row;
        std::optional<core::Text> toast;
    };
    const Case cases[] = {
        {"a commit of the second loaded page", "c150", 0, true, 150, std::nullopt},
        {"the newest commit", "c0", 0, true, 0, std::nullopt},
        {"a commit beyond the loaded pages", "c999", 0, true, 5, core::Text::tagCommitNotLoaded()},
        {"nothing selected", "c1", std::nullopt, false, 5, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = withTagPicker({core::Tag{"v1", c.commit}}, c.selected);
        state.workspace->history.commits = commitsFrom(0, 200);
        state.workspace->history.hasMore = true;
        // Commit 5 is shown with its files already loaded.
        state.workspace->history.list.selected = 5;
        state.workspace->history.files = {core::CommitFile{}};
        DirectReducer d(std::move(state));
        const AppEffect effect = d.reducer.jumpToTag(d.state, *openPicker(d.state));
        EXPECT_EQ(!openPicker(d.state), c.closes);
        const WorkspaceState& workspace = *d.state.workspace;
        EXPECT_EQ(workspace.tab, c.closes ? WorkspaceTab::history : WorkspaceTab::changes);
        EXPECT_EQ(workspace.history.list.selected, c.row);
        const Ids ids = DirectReducer::ids(effect);
        EXPECT_EQ(std::count(ids.begin(), ids.end(), "commitFiles"), c.row != 5 ? 1 : 0);
        EXPECT_EQ(d.state.toast ? std::optional(d.state.toast->text) : std::nullopt, c.toast);
        if (c.toast) {
            EXPECT_FALSE(d.state.toast->isError);
        }
    }
}

// Records, per tag write, whether the token it was handed could ever stop.
class TokenWatchingRepository final : public tarv::testing::FakeRepository {
public:
    std::atomic<int> stoppable = 0;
    void createTag(const std::string& r, const std::string& n, const std::string& c, std::stop_token s) override {
        note(s);
        FakeRepository::createTag(r, n, c, s);
    }
    void deleteTag(const std::string& r, const std::string& n, std::stop_token s) override {
        note(s);
        FakeRepository::deleteTag(r, n, s);
    }

private:
    void note(const std::stop_token& stop) {
        if (stop.stop_possible()) ++stoppable;
    }
};

TEST(TagJobTest, ATagWriteReplacedByALaterBranchJobStillFinishesAndReports) {
    auto repository = std::make_shared<TokenWatchingRepository>();
    tarv::testing::FakePorts fakes;
    Dependencies dependencies = fakes.dependencies();
    dependencies.repository = repository;
    tarv::testing::AppStoreHarness h(std::move(fakes), dependencies, withTagPicker(tagsNamed({"a"}), 0));
    h.send(WorkspaceAction::CreateTag{"v1", "abc"});
    h.send(WorkspaceAction::CreateTag{"v2", "def"});
    const auto jobs = h.jobsWithID("branch");
    ASSERT_EQ(jobs.size(), 2u);
    EXPECT_FALSE(h.executor().isStopRequested(jobs[0])) << "a write is never stopped";
    h.executor().runJob(jobs[0]);
    h.executor().runJob(jobs[1]);
    h.drain();
    EXPECT_EQ(repository->calls(), (std::vector<std::string>{"createTag /r v1 abc", "createTag /r v2 def"}));
    EXPECT_EQ(repository->stoppable.load(), 0);
    std::vector<AppAction> reported;
    for (const auto& action : h.reducedActions()) {
        const auto* workspace = std::get_if<WorkspaceAction>(&action.value);
        if (workspace && std::holds_alternative<WorkspaceAction::BranchOperationDone>(workspace->value))
            reported.push_back(action);
    }
    EXPECT_EQ(reported, (Actions{WorkspaceAction::BranchOperationDone{core::Text::toastTagCreated("v1")},
                                 WorkspaceAction::BranchOperationDone{core::Text::toastTagCreated("v2")}}));
}

}  // namespace
}  // namespace tarv::features
