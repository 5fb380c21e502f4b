#include <gtest/gtest.h>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Components/BranchPickerView.hpp"
#include "TarvUI/Components/SignInView.hpp"
#include "TarvUI/Screens/OnboardingScreen.hpp"
#include "TarvUI/Screens/WelcomeScreen.hpp"
#include "TarvUITests/Overlays/OverlayFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

// Whole screens as they look, at sizes where every part of them shows.

namespace tarv::ui {
namespace {

using terminal::Size;

// A repository name from a registry file can hold any bytes: the escape
// sequence in it never reaches the grid.
TEST(GoldenScreensTests, WelcomeWithOneRecentRepository) {
    features::AppState state;
    core::RepositoryEntry entry;
    entry.name = "tarv\x1b[2J";
    entry.path = "/home/ana/code/tarv";
    entry.remoteURL = "git@example.com:ana/tarv.git";
    entry.lastOpened = 5;
    state.repositories.push_back(entry);
    UIFrame frame = fixtures::frame(Size{70, 20});
    WelcomeScreen::draw(frame, state);
    EXPECT_ROWS(frame, 2, {
        " ╭─ Tarv ───────────────────────────────────────────────────────────╮ ",
        " │ Pick a repository to get started                                 │ ",
        " │                                                                  │ ",
        " │ ▸ Add an existing repository…                                 ⌃O │ ",
        " │ ▸ Create a new repository…                                     n │ ",
        " │ ▸ Clone a repository…                                         ⌃N │ ",
        " │                                                                  │ ",
        " │ Recent                                                           │ ",
        " │ ◇ tarv[2J                 /home/ana/code/tarv                    │ ",
        " │                                                                  │ ",
        " │                                                                  │ ",
        " │                                                                  │ ",
        " │                                                                  │ ",
        " │ ⌃R Switch repository  ·  ⌃P Command palette  ·  q Quit           │ ",
        " ╰──────────────────────────────────────────────────────────────────╯ ",
    });
    for (std::int64_t y = 0; y < 20; ++y) EXPECT_EQ(fixtures::row(frame, y).find('\x1b'), std::string::npos);
}

// The fields stand one column after the widest label: "Default branch"
// never touches its value.
TEST(GoldenScreensTests, OnboardingIdentityForm) {
    features::OnboardingState state;
    state.step = features::OnboardingState::Step::identity();
    UIFrame frame = fixtures::frame(Size{70, 20});
    OnboardingScreen::draw(frame, state);
    EXPECT_ROWS(frame, 1, {
        "  ╭─ Welcome to Tarv ──────────────────────────────────────────────╮  ",
        "  │ Git needs to know who you are to sign your commits.            │  ",
        "  │ It will be saved in ~/.gitconfig (git config --global).        │  ",
        "  │                                                                │  ",
        "  │ Name           Ada Lovelace                                    │  ",
        "  │                                                                │  ",
        "  │ Email          ada@example.com                                 │  ",
        "  │                                                                │  ",
        "  │ Default branch main                                            │  ",
        "  │                                                                │  ",
        "  │ ☐ Keep credentials in git's credential cache for an hour       │  ",
        "  │                                                                │  ",
        "  │                                                                │  ",
        "  │                                                                │  ",
        "  │                                                                │  ",
        "  │   Save and continue      Skip                                  │  ",
        "  ╰────────────────────────────────────────────────────────────────╯  ",
    });
    EXPECT_EQ(frame.cursor, (terminal::Point{19, 5}));
}

TEST(GoldenScreensTests, SignInWaitingForTheCode) {
    features::SignInState state;
    state.status = features::SignInState::Status::waiting(
        core::DeviceCode{"device", "WDJB-MJHT", "https://github.com/login/device", 5, 900});
    UIFrame frame = fixtures::frame(Size{60, 14});
    SignInView::draw(frame, state);
    EXPECT_ROWS(frame, 1, {
        "  ╭─ Sign in with GitHub ────────────────────────────────╮  ",
        "  │                                                      │  ",
        "  │ Open https://github.com/login/device in your browser │  ",
        "  │                                                      │  ",
        "  │                  W D J B - M J H T                   │  ",
        "  │                                                      │  ",
        "  │ Waiting for you to authorize Tarv on GitHub…         │  ",
        "  │                                                      │  ",
        "  │                                                      │  ",
        "  │   Copy code and open the browser ⏎      Cancel Esc   │  ",
        "  ╰──────────────────────────────────────────────────────╯  ",
    });
}

TEST(GoldenScreensTests, BranchPickerWithItsFooter) {
    features::AppState state = fixtures::stateWith({});
    core::Branch main;
    main.name = "main";
    main.isCurrent = true;
    core::Branch topic;
    topic.name = "topic";
    state.workspace->branches = {main, topic};
    UIFrame frame = fixtures::frame(Size{60, 20});
    BranchPickerView::draw(frame, state, features::BranchPickerState(),
                           WorkspaceLayout::make(Size{60, 20}, state.workspace->tab, state.workspace->focus));
    EXPECT_ROWS(frame, 2, {
        "      ╭─ Branches ────────────────────────────────────────╮ ",
        "      │ Branches   Pull Requests                          │ ",
        "      │ ⌕ Filter…                            New branch   │ ",
        "      │                                                   │ ",
        "      │ Default branch                                    │ ",
        "      │  ✓ main                                           │ ",
        "      │ Recent branches                                   │ ",
        "      │  ⎇ topic                                          │ ",
        "      │                                                   │ ",
        "      │                                                   │ ",
        "      │                                                   │ ",
        "      │                                                   │ ",
        "      │ ───────────────────────────────────────────────── │ ",
        "      │   ⑂ Choose a branch to merge into main            │ ",
        "      │   ⤴ Rebase main onto another branch               │ ",
        "      ╰───────────────────────────────────────────────────╯ ",
    });
    EXPECT_EQ(frame.cursor, (terminal::Point{10, 4}));
}

}  // namespace
}  // namespace tarv::ui
