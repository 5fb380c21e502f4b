#include <gtest/gtest.h>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/TextWrapping.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"
#include "TarvUI/Screens/AppView.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using features::AppAction;
using features::AppState;
using features::Overlay;
using features::OverlayAction;
using terminal::Point;
using terminal::Size;

AppState launchingState() {
    AppState state;
    state.onboarding.step = features::OnboardingState::Step::done();
    return state;
}

AppState welcomeState() {
    AppState state = launchingState();
    state.launchHandled = true;
    return state;
}

RenderedFrame draw(const AppState& state, Size size, std::int64_t tick = 0) {
    return AppView::draw(state, size, Theme::dark, tick);
}

std::string rowText(const RenderedFrame& frame, std::int64_t y) { return frame.grid.text(y); }

TEST(AppViewTests, BelowTheMinimumOnlyTheNoticeIsDrawnWhateverThePhaseOrOverlay) {
    const std::string notice = core::Text::terminalTooSmall(50, 14).render(core::Language::en);
    struct Case {
        Size size;
    };
    for (const auto& c : {Case{{49, 40}}, Case{{120, 13}}, Case{{3, 20}}}) {
        AppState state = fixtures::stateWith({fixtures::file("a.txt")});
        state.overlay = Overlay(Overlay::Help{});
        state.toast = features::Toast{1, core::Text::raw("saved"), false};
        const RenderedFrame frame = draw(state, c.size);
        const auto lines = terminal::TextWrapping::wrap(notice, std::max<std::int64_t>(c.size.width - 2, 1));
        ASSERT_FALSE(lines.empty());
        for (std::size_t i = 0; i < lines.size() && static_cast<std::int64_t>(i) < c.size.height; ++i) {
            const std::string row = rowText(frame, static_cast<std::int64_t>(i));
            EXPECT_EQ(row.substr(0, 1), " ");
            EXPECT_EQ(row.substr(1, lines[i].size()), lines[i]) << c.size.width << "x" << c.size.height;
        }
        EXPECT_TRUE(frame.hits.regions().empty());
        EXPECT_FALSE(frame.cursor);
        EXPECT_EQ(frame.viewports, state.viewports);
        const ThemeStyles styles(Theme::dark, false);
        EXPECT_EQ(frame.grid(1, 0).style, styles.bold);
    }
}

TEST(AppViewTests, OnAThreeColumnTerminalTheNoticeIsWrappedToOneColumn) {
    const RenderedFrame frame = draw(AppState(), Size{3, 30});
    const auto lines = terminal::TextWrapping::wrap(
        core::Text::terminalTooSmall(50, 14).render(core::Language::en), 1);
    EXPECT_EQ(lines[0].size(), 1U);
    EXPECT_EQ(rowText(frame, 0).substr(1, 1), lines[0]);
    EXPECT_EQ(rowText(frame, 1).substr(1, 1), lines[1]);
}

AppState workspaceState() {
    AppState state = fixtures::stateWith({fixtures::file("a.txt")});
    state.onboarding.step = features::OnboardingState::Step::done();
    return state;
}

TEST(AppViewTests, TheMinimumSizeDrawsTheNormalScreen) {
    const RenderedFrame frame = draw(workspaceState(), Size{50, 14});
    EXPECT_FALSE(frame.hits.regions().empty());
    EXPECT_NE(rowText(frame, 13).find("main"), std::string::npos) << rowText(frame, 13);
}

TEST(AppViewTests, TheRepositoryPickerGetsTheLayoutOnlyOverAWorkspace) {
    // The box is the region right after the backdrop that covers the screen.
    const auto boxWidth = [](const RenderedFrame& frame) {
        std::size_t backdrop = 0;
        while (frame.hits.regions().at(backdrop).rect != terminal::Rect(0, 0, 120, 30)) ++backdrop;
        return frame.hits.regions().at(backdrop + 1).rect.size.width;
    };
    AppState welcome = welcomeState();
    welcome.overlay = Overlay(features::RepositoryPickerState{});
    EXPECT_EQ(boxWidth(draw(welcome, Size{120, 30})), 50);
    AppState open = workspaceState();
    open.overlay = Overlay(features::RepositoryPickerState{});
    const auto layout = WorkspaceLayout::make(Size{120, 30}, open.workspace->tab, open.workspace->focus);
    EXPECT_EQ(boxWidth(draw(open, Size{120, 30})),
              std::max<std::int64_t>(50, 14 + layout.segments.front().size.width));
}

TEST(AppViewTests, EveryOverlayKindDrawsItsOwnView) {
    // Each kind registers the backdrop that dismisses and draws a box of
    // its own over the workspace.
    const std::vector<Overlay> overlays{
        Overlay(features::RepositoryPickerState{}), Overlay(features::BranchPickerState{}),
        Overlay(features::PaletteState{}), Overlay(Overlay::ConfirmDiscard{{fixtures::file("a.txt")}}),
        Overlay(features::DeleteBranchState{"topic", false}), Overlay::message(core::Text::raw("T"), core::Text::raw("B")),
        Overlay(features::NewBranchState{}), Overlay(features::PathPromptState{}),
        Overlay(features::CoAuthorPromptState{}), Overlay(features::SignInState{}),
        Overlay(features::NewTagState{"abc"}), Overlay(features::TagPickerState{}),
        Overlay(features::WorktreePickerState{}), Overlay(features::NewWorktreeState{"/repo"}),
        Overlay(features::ClonePromptState{"/home"}), Overlay(features::PublishRepositoryState{}),
        Overlay(features::ContextMenuState({core::AppCommand::copyPath}, 3, 3)),
        Overlay(features::CredentialPromptState(core::CredentialPrompt{})), Overlay(features::StashPickerState({})),
        Overlay(Overlay::Help{})};
    ASSERT_EQ(overlays.size(), Overlay::kindCount);
    for (const auto& overlay : overlays) {
        AppState state = workspaceState();
        state.overlay = overlay;
        const RenderedFrame frame = draw(state, Size{100, 30});
        const auto hit = frame.hits.value(Point{0, 29});
        ASSERT_TRUE(hit) << static_cast<int>(overlay.kind());
        EXPECT_EQ(hit->press, std::vector<AppAction>{AppAction(OverlayAction::Dismiss{})})
            << static_cast<int>(overlay.kind());
        bool border = false;
        for (std::int64_t y = 0; y < 30; ++y) border = border || rowText(frame, y).find("╭") != std::string::npos;
        EXPECT_TRUE(border) << static_cast<int>(overlay.kind());
    }
}

TEST(AppViewTests, LaunchShowsTheSpinnerFrameOfTheTick) {
    struct Case {
        std::int64_t tick;
        std::string row;
    };
    for (const auto& c : {Case{0, "  ⠋ Tarv"}, Case{13, "  ⠸ Tarv"}}) {
        const RenderedFrame frame = draw(launchingState(), Size{60, 20}, c.tick);
        EXPECT_EQ(rowText(frame, 1).substr(0, c.row.size()), c.row) << c.tick;
        EXPECT_EQ(frame.grid(2, 1).style, ThemeStyles(Theme::dark, false).dim);
    }
}

TEST(AppViewTests, AnOverlayHidesTheCursorOfTheBaseScreenUnlessItPlacesItsOwn) {
    AppState state = workspaceState();
    state.workspace->focus = features::WorkspaceFocus::summary;
    ASSERT_TRUE(draw(state, Size{100, 30}).cursor);
    state.overlay = Overlay(Overlay::message(core::Text::raw("Title"), core::Text::raw("Body")));
    EXPECT_FALSE(draw(state, Size{100, 30}).cursor);
    state.overlay = Overlay(features::CoAuthorPromptState{});
    EXPECT_TRUE(draw(state, Size{100, 30}).cursor);
}

TEST(AppViewTests, TheOverlayCoversTheToastAndItsRegionsComeLast) {
    AppState state = welcomeState();
    state.toast = features::Toast{7, core::Text::raw("Toast text"), false};
    const RenderedFrame plain = draw(state, Size{60, 20});
    const auto toastHit = plain.hits.value(Point{5, 19});
    ASSERT_TRUE(toastHit);
    ASSERT_EQ(toastHit->press.size(), 1U);
    state.overlay = Overlay(Overlay::message(core::Text::raw("Title"), core::Text::raw("Body")));
    const RenderedFrame covered = draw(state, Size{60, 20});
    const auto hit = covered.hits.value(Point{5, 19});
    ASSERT_TRUE(hit);
    EXPECT_EQ(hit->press, std::vector<AppAction>{AppAction(OverlayAction::Dismiss{})});
}

TEST(AppViewTests, ViewportsAreTheStatesUnlessAViewMeasuredOthers) {
    AppState state = welcomeState();
    state.viewports.picker = 3;
    EXPECT_EQ(draw(state, Size{60, 20}).viewports.picker, 3);
    state.overlay = Overlay(features::ContextMenuState({core::AppCommand::copyPath}, 2, 2));
    EXPECT_EQ(draw(state, Size{60, 20}).viewports.picker, 1);
}

}  // namespace
}  // namespace tarv::ui
