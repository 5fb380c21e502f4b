// The branch flow through the store: each request's git call and outcome,
// the reloads after a change of branch heads, the forced confirmation for a
// branch git calls not fully merged, the stash suggestion when local changes
// are in the way, merges with their results and the prepared merge message,
// and the writes of one id that are never stopped half-way by the next one.
#include <gtest/gtest.h>

#include "../Workspace/WorkspaceFixtures.hpp"
#include "Support/AppStoreHarness.hpp"
#include "TarvCore/Errors/GitError.hpp"
#include "TarvFeatures/App/AppReducer.hpp"

namespace tarv::features {
namespace {

using namespace fixtures;
using tarv::testing::AppStoreHarness;

const std::string sha40 = "0123456789abcdef0123456789abcdef01234567";

core::GitError gitSays(const std::string& message) { return core::GitError::commandFailed("git", 1, message); }

// A workspace on "main" with a file selected and nothing running.
AppState onMain() {
    AppState state = withWorkspace();
    state.workspace->status = statusOf(Paths{"a.txt"});
    state.workspace->status.branch.head = "main";
    state.workspace->changes.selectedPath = "a.txt";
    return state;
}

const WorkspaceState& ws(const AppStoreHarness& h) { return *h.state().workspace; }

TEST(BranchFlowTest, EachRequestRunsItsGitCallAndRefreshesAfterSuccess) {
    struct Case {
        const char* name;
        WorkspaceAction request;
        std::string call;
        core::Text toast;
    };
    const Case cases[] = {
        {"switch", WorkspaceAction::SwitchBranch{"topic"}, "switchBranch /r topic",
         core::Text::toastBranchSwitched("topic")},
        {"create at HEAD", WorkspaceAction::CreateBranch{"new", std::nullopt}, "createBranch /r new -",
         core::Text::toastBranchCreated("new")},
        {"create at a commit", WorkspaceAction::CreateBranch{"new", "c1"}, "createBranch /r new c1",
         core::Text::toastBranchCreated("new")},
        {"rename names the new name", WorkspaceAction::RenameBranch{"old", "fresh"}, "renameBranch /r old fresh",
         core::Text::toastBranchRenamed("fresh")},
        {"delete", WorkspaceAction::DeleteBranch{"topic", false}, "deleteBranch /r topic false",
         core::Text::toastBranchDeleted("topic")},
        {"forced delete", WorkspaceAction::DeleteBranch{"topic", true}, "deleteBranch /r topic true",
         core::Text::toastBranchDeleted("topic")},
        {"soft reset: 7 characters of the id", WorkspaceAction::Reset{sha40, core::ResetMode::soft},
         "reset /r " + sha40 + " soft", core::Text::toastReset(core::ResetMode::soft, "0123456")},
        {"mixed reset to a short id", WorkspaceAction::Reset{"abc", core::ResetMode::mixed}, "reset /r abc mixed",
         core::Text::toastReset(core::ResetMode::mixed, "abc")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onMain());
        EXPECT_EQ(sendWorkspace(h, c.request), (Ids{"branch"}));
        AppState unchanged = onMain();
        unchanged.now = h.state().now;
        EXPECT_TRUE(h.state() == unchanged) << "the request only starts its job";
        ASSERT_TRUE(h.runJob("branch"));
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (Paths{c.call}));
        EXPECT_EQ(h.lastJobIds(), (Ids{"toast", "status", "branches", "history"}));
        ASSERT_TRUE(h.state().toast);
        EXPECT_EQ(h.state().toast->text, c.toast);
        EXPECT_FALSE(h.state().toast->isError);
        EXPECT_TRUE(ws(h).isRefreshing);
        EXPECT_FALSE(ws(h).changes.selectedPath) << "the file selection starts afresh";
        EXPECT_FALSE(h.state().overlay);
    }
}

TEST(BranchFlowTest, AFailedDeleteOfAnUnmergedBranchAsksToForceOnlyWhenNotForced) {
    struct Case {
        const char* name;
        bool force;
        std::string message;
        std::optional<Overlay> overlay;
    };
    const std::string unmerged = "error: the branch 'topic' is not fully merged.";
    const Case cases[] = {
        {"unforced, not fully merged", false, unmerged, Overlay(DeleteBranchState{"topic", true})},
        {"forced, same words", true, unmerged, Overlay::message(core::Text::errorTitle(), core::Text::raw(unmerged))},
        {"unforced, another refusal", false, "fatal: branch 'topic' not found",
         Overlay::message(core::Text::errorTitle(), core::Text::raw("fatal: branch 'topic' not found"))},
        {"the phrase is matched exactly", false, "error: Not Fully Merged",
         Overlay::message(core::Text::errorTitle(), core::Text::raw("error: Not Fully Merged"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onMain());
        h.fakes.repository->fail("deleteBranch", gitSays(c.message));
        sendWorkspace(h, WorkspaceAction::DeleteBranch{"topic", c.force});
        h.runJob("branch");
        h.drain();
        EXPECT_TRUE(h.state().overlay == c.overlay);
        EXPECT_TRUE(h.lastJobIds().empty()) << "nothing reloads after a refusal";
        EXPECT_EQ(ws(h).changes.selectedPath, "a.txt");
    }
}

TEST(BranchFlowTest, ConfirmingTheForcedDeletionDeletesWithForce) {
    AppStoreHarness h(onMain());
    h.fakes.repository->fail("deleteBranch", gitSays("error: the branch 'topic' is not fully merged."));
    sendWorkspace(h, WorkspaceAction::DeleteBranch{"topic", false});
    h.runJob("branch");
    h.drain();
    ASSERT_TRUE(h.state().overlay == Overlay(DeleteBranchState{"topic", true}));

    h.fakes.repository->succeed("deleteBranch");
    sendWorkspace(h, WorkspaceAction::DeleteBranch{"topic", true});
    h.runJob("branch");
    h.drain();
    EXPECT_EQ(h.fakes.repository->calls("deleteBranch"),
              (Paths{"deleteBranch /r topic false", "deleteBranch /r topic true"}));
    EXPECT_EQ(h.state().toast->text, core::Text::toastBranchDeleted("topic"));
}

TEST(BranchFlowTest, LocalChangesInTheWayAddTheStashSuggestionInAnyLetterCase) {
    const std::string suggestion = core::Text::stashSuggestion().render(core::Language::en);
    struct Case {
        const char* name;
        WorkspaceAction request;
        std::string operation;
        std::string message;
        bool suggests;
    };
    const Case cases[] = {
        {"switch, overwritten in capitals", WorkspaceAction::SwitchBranch{"topic"}, "switchBranch",
         "error: Your local changes to the following files would be OVERWRITTEN by checkout", true},
        {"switch, local changes", WorkspaceAction::SwitchBranch{"topic"}, "switchBranch",
         "error: cannot switch: Local Changes present", true},
        {"switch, untracked files", WorkspaceAction::SwitchBranch{"topic"}, "switchBranch",
         "error: The following untracked working tree files would be removed by checkout", true},
        {"reset, local changes", WorkspaceAction::Reset{sha40, core::ResetMode::mixed}, "reset",
         "error: local changes would be lost", true},
        {"switch, unrelated", WorkspaceAction::SwitchBranch{"topic"}, "switchBranch",
         "fatal: invalid reference: topic", false},
        {"create, unrelated", WorkspaceAction::CreateBranch{"x", std::nullopt}, "createBranch",
         "fatal: a branch named 'x' already exists", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onMain());
        h.fakes.repository->fail(c.operation, gitSays(c.message));
        sendWorkspace(h, c.request);
        h.runJob("branch");
        h.drain();
        const std::string body = c.suggests ? c.message + "\n\n" + suggestion : c.message;
        EXPECT_TRUE(h.state().overlay == Overlay::message(core::Text::errorTitle(), core::Text::raw(body)));
        EXPECT_FALSE(h.state().toast);
    }
}

TEST(BranchFlowTest, TheSuggestionIsInTheLanguageOfTheInterface) {
    AppState state = onMain();
    state.language = core::Language::es;
    AppStoreHarness h(std::move(state));
    h.send(AppAction(WorkspaceAction::BranchOperationFailed{"would be overwritten"}));
    const std::string body =
        "would be overwritten\n\n" + core::Text::stashSuggestion().render(core::Language::es);
    EXPECT_TRUE(h.state().overlay == Overlay::message(core::Text::errorTitle(), core::Text::raw(body)));
    EXPECT_NE(core::Text::stashSuggestion().render(core::Language::es),
              core::Text::stashSuggestion().render(core::Language::en));
}

TEST(BranchFlowTest, MergeResults) {
    struct Case {
        const char* name;
        core::MergeResult result;
        std::optional<core::Text> toast;
        std::optional<Overlay> overlay;
        Ids jobs;
    };
    const Case cases[] = {
        {"merged", core::MergeResult::merged(), core::Text::toastMerged("topic"), std::nullopt,
         {"status", "branches", "history", "toast"}},
        {"fast-forward", core::MergeResult::fastForward(), core::Text::toastMerged("topic"), std::nullopt,
         {"status", "branches", "history", "toast"}},
        {"up to date", core::MergeResult::upToDate(), core::Text::toastMergeUpToDate(), std::nullopt,
         {"status", "branches", "history", "toast"}},
        {"three conflicts", core::MergeResult::conflicts({"a", "b", "c"}), std::nullopt,
         Overlay::message(core::Text::mergeConflictsTitle(), core::Text::mergeConflictsBody(3)),
         {"status", "branches", "history", "mergeMessage"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppStoreHarness h(onMain());
        h.fakes.repository->answers.mergeResult = c.result;
        EXPECT_EQ(sendWorkspace(h, WorkspaceAction::Merge{"topic"}), (Ids{"merge"}));
        h.runJob("merge");
        h.drain();
        EXPECT_EQ(h.fakes.repository->calls(), (Paths{"merge /r topic"}));
        EXPECT_EQ(h.lastJobIds(), c.jobs);
        EXPECT_TRUE(ws(h).isRefreshing);
        EXPECT_TRUE(h.state().overlay == c.overlay);
        EXPECT_EQ(h.state().toast.has_value(), c.toast.has_value());
        if (c.toast && h.state().toast) { EXPECT_EQ(h.state().toast->text, *c.toast); }
    }
}

TEST(BranchFlowTest, AFailedMergeShowsGitsMessage) {
    AppStoreHarness h(onMain());
    h.fakes.repository->fail("merge", gitSays("error: Your local changes would be overwritten by merge"));
    sendWorkspace(h, WorkspaceAction::Merge{"topic"});
    h.runJob("merge");
    h.drain();
    EXPECT_TRUE(h.state().overlay ==
                Overlay::message(core::Text::errorTitle(),
                                 core::Text::raw("error: Your local changes would be overwritten by merge")));
    EXPECT_TRUE(h.lastJobIds().empty());
}

TEST(BranchFlowTest, TheMergeMessageFillsOnlyACommitBoxTheUserHasNotTypedIn) {
    struct Case {
        const char* name;
        std::string summary;
        std::optional<std::string> autoSummary;
        std::string expectedSummary;
        std::string expectedDescription;
    };
    const Case cases[] = {
        {"empty box", "", std::nullopt, "Merge branch 'topic'", "Conflicts:\n\ta"},
        {"our own earlier fill", "Merge old", "Merge old", "Merge branch 'topic'", "Conflicts:\n\ta"},
        {"typed by the user", "My merge", std::nullopt, "My merge", ""},
        {"typed over our fill", "My merge", "Merge old", "My merge", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = onMain();
        state.workspace->summary.setText(c.summary);
        state.workspace->autoSummary = c.autoSummary;
        AppStoreHarness h(std::move(state));
        h.fakes.repository->answers.mergeResult = core::MergeResult::conflicts({"a"});
        h.fakes.repository->answers.pendingMergeMessage = "Merge branch 'topic'\n\n  Conflicts:\n\ta\n";
        sendWorkspace(h, WorkspaceAction::Merge{"topic"});
        h.runJob("merge");
        h.drain();
        h.runJob("mergeMessage");
        h.drain();
        EXPECT_EQ(ws(h).summary.text(), c.expectedSummary);
        EXPECT_EQ(ws(h).description.text(), c.expectedDescription);
    }
}

// git may prepare no message, or an empty one: the commit box keeps what the
// user typed, the description below an empty summary included.
TEST(BranchFlowTest, AMissingOrBlankMergeMessageLeavesTheCommitBoxAsTyped) {
    for (const std::optional<std::string>& message : {std::optional<std::string>(), std::optional<std::string>(""),
                                                     std::optional<std::string>("\n  \n")}) {
        SCOPED_TRACE(message ? "\"" + *message + "\"" : "none");
        AppState state = onMain();
        state.workspace->description.setText("notes typed first");
        AppStoreHarness h(std::move(state));
        h.fakes.repository->answers.mergeResult = core::MergeResult::conflicts({"a"});
        h.fakes.repository->answers.pendingMergeMessage = message;
        sendWorkspace(h, WorkspaceAction::Merge{"topic"});
        h.runJob("merge");
        h.drain();
        h.runJob("mergeMessage");
        h.drain();
        EXPECT_EQ(ws(h).summary.text(), "");
        EXPECT_EQ(ws(h).description.text(), "notes typed first");
        EXPECT_EQ(ws(h).autoSummary, std::nullopt);
    }
}

}  // namespace
}  // namespace tarv::features
