#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TarvFeatures/App/AppAction.hpp"

namespace tarv::features {
namespace {

core::Diff sampleDiff() {
    core::Diff diff;
    diff.hunks.resize(1);
    return diff;
}

TEST(AppActionTests, ActionsAreEqualWhenCaseAndPayloadAre) {
    using W = WorkspaceAction;
    EXPECT_EQ(AppAction(AppAction::Tick{}), AppAction(AppAction::Tick{}));
    EXPECT_NE(AppAction(AppAction::Tick{}), AppAction(AppAction::Quit{}));
    EXPECT_EQ(AppAction(W::FilesChanged{}), AppAction(W::FilesChanged{}));
    EXPECT_NE(AppAction(W::FilesChanged{}), AppAction(W::ToggleAll{}));
    EXPECT_NE(AppAction(W::Commit{}), AppAction(W::Undo{}));
    EXPECT_EQ(AppAction(W::SelectFile{"a"}), AppAction(W::SelectFile{"a"}));
    EXPECT_NE(AppAction(W::SelectFile{"a"}), AppAction(W::SelectFile{"b"}));
    EXPECT_NE(AppAction(W::SelectFile{"a"}), AppAction(W::ToggleInclude{"a"})) << "same payload, other case";
    EXPECT_NE(AppAction(W::Scroll{Pane::diff, 1}), AppAction(W::Scroll{Pane::files, 1}));
    EXPECT_NE(AppAction(OverlayAction::Scroll{1}), AppAction(W::Scroll{Pane::files, 1}));
    EXPECT_NE(AppAction(OverlayAction::Confirm{}), AppAction(OverlayAction::Dismiss{}));
    EXPECT_EQ(AppAction(AppAction::RepositoryChecked{"/r", true}), AppAction(AppAction::RepositoryChecked{"/r", true}));
    EXPECT_NE(AppAction(AppAction::RepositoryChecked{"/r", true}),
              AppAction(AppAction::RepositoryChecked{"/r", false}));
}

TEST(AppActionTests, NestedCasesConvertIntoTheirApplicationCase) {
    const AppAction spelledOut{WorkspaceAction{WorkspaceAction::MoveFileSelection{2}}};
    const AppAction direct = WorkspaceAction::MoveFileSelection{2};
    EXPECT_EQ(direct, spelledOut);
    const auto* workspace = std::get_if<WorkspaceAction>(&direct.value);
    ASSERT_NE(workspace, nullptr);
    const auto* move = std::get_if<WorkspaceAction::MoveFileSelection>(&workspace->value);
    ASSERT_NE(move, nullptr);
    EXPECT_EQ(move->by, 2);

    EXPECT_TRUE(std::holds_alternative<OverlayAction>(AppAction(OverlayAction::Dismiss{}).value));
    EXPECT_TRUE(std::holds_alternative<AuthAction>(AppAction(AuthAction::SessionExpired{}).value));
    EXPECT_TRUE(std::holds_alternative<OnboardingAction>(AppAction(OnboardingAction::Started{}).value));
}

TEST(AppActionTests, CopiesKeepCaseAndPayload) {
    // Copies of the large variants go through their own path; a sample of
    // cases with lists, nested variants and texts.
    const std::vector<AppAction> actions = {
        WorkspaceAction::StatusLoaded{core::WorkingTreeStatus{}},
        WorkspaceAction::DiffLoaded{"a.txt", sampleDiff()},
        WorkspaceAction::CommitDiffFailed{"abc", "a.txt", "gone"},
        WorkspaceAction::OperationFinished{ReplayKind::Rebase{"main"}, core::OperationResult::conflicts({"x"})},
        WorkspaceAction::MergeFinished{"topic", core::MergeResult::fastForward()},
        WorkspaceAction::SyncFailed{core::SyncAction::push, core::RemoteFailure::other("no"), "no", true},
        WorkspaceAction::EditHistory{core::HistoryEdit::moveUp("abc")},
        WorkspaceAction::ConflictHandled{},
        OverlayAction::ApplyFix{core::FailureFix::openURL("https://example.com")},
        OverlayAction::DropSelection{},
        AppAction::Notice{core::Text::raw("hello"), true},
        AppAction::OpenContextMenu{{core::AppCommand::copySHA}, 1, 2, std::string("main")},
        AppAction::Viewports{Viewports{.fileList = 3}},
        AppAction::Edit{core::TextEdit{core::TextEdit::Backspace{}}},
    };
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const AppAction copy = actions[i];
        EXPECT_EQ(copy, actions[i]) << i;
        AppAction assigned = AppAction::Quit{};
        assigned = actions[i];
        EXPECT_EQ(assigned, actions[i]) << i;
        AppAction moved = std::move(assigned);
        EXPECT_EQ(moved, actions[i]) << i;
        for (std::size_t j = 0; j < actions.size(); ++j) {
            if (j != i) {
                EXPECT_NE(actions[j], actions[i]) << i << " " << j;
            }
        }
    }
}

TEST(AppActionTests, WorkspaceActionCopiesBetweenCases) {
    WorkspaceAction action = WorkspaceAction::DiffLoaded{"a.txt", sampleDiff()};
    const WorkspaceAction other = WorkspaceAction::HistoryLoaded{{core::Commit{}}, 100};
    action = other;
    EXPECT_EQ(action, other);
    const WorkspaceAction& self = action;
    action = self;
    EXPECT_EQ(action, other);
    const auto* history = std::get_if<WorkspaceAction::HistoryLoaded>(&action.value);
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->skip, 100);
    EXPECT_EQ(history->commits.size(), 1u);
}

}  // namespace
}  // namespace tarv::features
