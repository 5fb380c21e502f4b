// The test printers of the actions: a failed EXPECT_EQ on actions names each
// case with its payload.
#include "Support/ActionPrinting.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace tarv::features {
namespace {

TEST(ActionPrinting, NamesTheCaseAndItsPayload) {
    const std::vector<AppAction> actions{
        WorkspaceAction::SelectFile{"a.txt"},
        OverlayAction::MoveSelection{-2},
        AuthAction::PullRequestsFailed{core::Text::raw("no access")},
    };
    EXPECT_EQ(::testing::PrintToString(actions),
              "{ WorkspaceAction::SelectFile{\"a.txt\"}, OverlayAction::MoveSelection{-2}, "
              "AuthAction::PullRequestsFailed{\"no access\"} }");
}

}  // namespace
}  // namespace tarv::features
