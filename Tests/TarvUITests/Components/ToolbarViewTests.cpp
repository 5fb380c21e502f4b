#include <gtest/gtest.h>

#include "TarvUI/Components/ToolbarView.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/Overlays/OverlayFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::CheckSummary;
using features::AppAction;
using features::AppState;
using terminal::Size;

struct Drawn {
    UIFrame frame;
    WorkspaceLayout layout;
};

Drawn drawToolbar(const AppState& state, Size size = Size{80, 24}, std::int64_t tick = 0) {
    Drawn drawn{fixtures::frame(size, state.now, tick),
                WorkspaceLayout::make(size, features::WorkspaceTab::changes, features::WorkspaceFocus::files)};
    ToolbarView::draw(drawn.frame, state, *state.workspace, drawn.layout);
    return drawn;
}

core::RepositoryEntry entry(std::optional<std::string> remote, std::optional<bool> isPrivate, std::string path = "/repo") {
    return core::RepositoryEntry{std::move(path), "repo", std::move(remote), 0, isPrivate};
}

AppAction command(AppCommand c) { return AppAction(AppAction::Command{c}); }

TEST(ToolbarView, GoldenAt80Columns) {
    AppState state = fixtures::stateWith();
    state.repositories = {entry("https://example.com/o/repo.git", true)};
    state.workspace->remoteURL = "https://example.com/o/repo.git";
    state.workspace->status.branch.upstream = "origin/main";
    state.workspace->sync.checks = CheckSummary{0, 1, 2};
    state.overlay = features::BranchPickerState();
    const Drawn d = drawToolbar(state);
    EXPECT_EQ(fixtures::rows(d.frame, 0, 3),
              (std::vector<std::string>{
                  " Current repository           │ Current branch     │ ⟳ Fetch origin             ",
                  " ◆ repo                     ▾ │ ⎇ main ✗         ▴ │   Never fetched            ",
                  "────────────────────────────────────────────────────────────────────────────────",
              }));
    const ThemeStyles& s = d.frame.styles;
    EXPECT_EQ(fixtures::cell(d.frame, 0, 0).style, s.toolbar);
    EXPECT_EQ(fixtures::cell(d.frame, 1, 0).style, s.toolbarLabel);
    EXPECT_EQ(fixtures::cell(d.frame, 3, 1).style, s.toolbarValue);
    EXPECT_EQ(fixtures::cell(d.frame, 30, 0).style, s.border.with(std::nullopt, s.theme.surfaceRaised.color()));
    EXPECT_EQ(fixtures::cell(d.frame, 0, 2).style, s.border);
    // The open branch picker highlights its segment only.
    EXPECT_EQ(fixtures::cell(d.frame, 31, 0).style, s.selectedFocused);
    EXPECT_EQ(fixtures::cell(d.frame, 0, 1).style, s.toolbar);
    EXPECT_EQ(fixtures::cell(d.frame, 39, 1).style, s.toolbarValue.with(s.theme.danger.color(), std::nullopt));
}

TEST(ToolbarView, SegmentsAreButtons) {
    const Drawn d = drawToolbar(fixtures::stateWith());
    const struct {
        std::int64_t x;
        std::int64_t y;
        std::optional<AppCommand> command;
    } cases[] = {{0, 0, AppCommand::openRepositoryPicker}, {29, 1, AppCommand::openRepositoryPicker},
                 {30, 0, std::nullopt},                     {31, 1, AppCommand::openBranchPicker},
                 {52, 0, AppCommand::sync},                 {79, 1, AppCommand::sync},
                 {10, 2, std::nullopt}};
    for (const auto& c : cases) {
        const auto region = fixtures::hit(d.frame, c.x, c.y);
        if (!c.command) {
            EXPECT_FALSE(region) << c.x;
            continue;
        }
        ASSERT_TRUE(region) << c.x;
        EXPECT_EQ(region->press, std::vector<AppAction>{command(*c.command)}) << c.x;
    }
}

TEST(ToolbarView, VisibilityGlyph) {
    const struct {
        std::vector<core::RepositoryEntry> registry;
        std::string glyph;
    } cases[] = {
        {{}, "▫"},
        {{entry(std::nullopt, true)}, "▫"},
        {{entry("git@h:o/r.git", std::nullopt)}, "◇"},
        {{entry("git@h:o/r.git", false)}, "◇"},
        {{entry("git@h:o/r.git", true)}, "◆"},
        {{entry("git@h:o/r.git", true, "/elsewhere"), entry("git@h:o/r.git", false)}, "◇"},
    };
    for (const auto& c : cases) {
        AppState state = fixtures::stateWith();
        state.repositories = c.registry;
        const Drawn d = drawToolbar(state);
        EXPECT_EQ(fixtures::cell(d.frame, 1, 1).character, c.glyph);
    }
}

TEST(ToolbarView, BranchValueAndCheckMark) {
    const std::string longName = "feature/a-very-long-branch-name";
    const struct {
        const char* name;
        bool loaded;
        std::string branch;
        std::optional<CheckSummary> checks;
        std::string row;
    } cases[] = {
        {"before the first status", false, "main", std::nullopt, " ⎇ …              ▾ "},
        {"no checks at all", true, "main", CheckSummary{}, " ⎇ main           ▾ "},
        {"pending", true, "main", CheckSummary{1, 0, 1}, " ⎇ main ●         ▾ "},
        {"all succeeded", true, "main", CheckSummary{3, 0, 0}, " ⎇ main ✓         ▾ "},
        {"long name with a mark", true, longName, CheckSummary{0, 1, 0}, " ⎇ feature/a-ve ✗ ▾ "},
        {"long name without a mark", true, longName, std::nullopt, " ⎇ feature/a-very ▾ "},
    };
    for (const auto& c : cases) {
        AppState state = fixtures::stateWith();
        state.workspace->isStatusLoaded = c.loaded;
        state.workspace->status.branch.head = c.branch;
        state.workspace->sync.checks = c.checks;
        const Drawn d = drawToolbar(state);
        const std::string row = fixtures::row(d.frame, 1);
        const std::size_t start = row.find("│") + std::string("│").size();
        EXPECT_EQ(row.substr(start, c.row.size()), c.row) << c.name;
    }
}

TEST(ToolbarView, CheckMarkTable) {
    const ThemeStyles s(Theme::light, false);
    const terminal::Style base = s.toolbarValue;
    using Mark = ToolbarView::CheckMark;
    EXPECT_EQ(ToolbarView::checkMark(CheckSummary{}, s, base), std::nullopt);
    EXPECT_EQ(ToolbarView::checkMark(CheckSummary{0, 1, 2}, s, base),
              (Mark{"✗", base.with(s.theme.danger.color(), std::nullopt)}));
    EXPECT_EQ(ToolbarView::checkMark(CheckSummary{2, 0, 1}, s, base),
              (Mark{"●", base.with(s.theme.warning.color(), std::nullopt)}));
    EXPECT_EQ(ToolbarView::checkMark(CheckSummary{4, 0, 0}, s, base),
              (Mark{"✓", base.with(s.theme.success.color(), std::nullopt)}));
}

TEST(ToolbarView, RunningSyncShowsTheSpinnerWhateverTheModelSays) {
    const struct {
        features::SyncState::Activity activity;
        std::int64_t tick;
        std::string first;
    } cases[] = {
        {features::SyncState::Activity::fetching, 0, " ⠋ Fetching…"},
        {features::SyncState::Activity::pulling, 13, " ⠸ Pulling…"},
        {features::SyncState::Activity::pushing, 29, " ⠏ Pushing…"},
    };
    for (const auto& c : cases) {
        AppState state = fixtures::stateWith();
        state.workspace->sync.activity = c.activity;
        const Drawn d = drawToolbar(state, Size{80, 24}, c.tick);
        EXPECT_EQ(fixtures::row(d.frame, 0).substr(fixtures::row(d.frame, 0).rfind("│") + 3).substr(0, c.first.size()),
                  c.first);
        const std::string second = fixtures::row(d.frame, 1);
        EXPECT_NE(second.find("│   Working…"), std::string::npos) << second;
    }
}

TEST(ToolbarView, SpinnerFrames) {
    EXPECT_EQ(ToolbarView::spinner.size(), 10u);
    const std::string all = "⠋⠙⠹⠸⠼⠴⠦⠧⠇⠏";
    std::string joined;
    for (auto frame : ToolbarView::spinner) joined += frame;
    EXPECT_EQ(joined, all);
    EXPECT_EQ(ToolbarView::spinnerFrame(0), "⠋");
    EXPECT_EQ(ToolbarView::spinnerFrame(13), "⠸");
    EXPECT_EQ(ToolbarView::spinnerFrame(-1), "⠏");
}

// Until the first status tells whether the branch has an upstream, the sync
// button would guess "Publish branch": it shows nothing and takes no click.
TEST(ToolbarView, SyncButtonWaitsForTheFirstStatus) {
    const struct {
        const char* name;
        bool loaded;
        std::optional<std::string> upstream;
        std::vector<std::string> rows;
        bool clickable;
    } cases[] = {
        {"before the first status", false, std::nullopt, {"                            ", "                            "}, false},
        {"loaded, with an upstream", true, "origin/main", {" ⟳ Fetch origin             ", "   Never fetched            "}, true},
        {"loaded, without one", true, std::nullopt, {" ↑ Publish branch           ", "   Push this branch to…     "}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state = fixtures::stateWith();
        state.workspace->remoteURL = "https://example.com/o/repo.git";
        state.workspace->isStatusLoaded = c.loaded;
        state.workspace->status.branch.upstream = c.upstream;
        const Drawn d = drawToolbar(state);
        const auto& sync = d.layout.segments[2];
        std::vector<std::string> shown;
        for (std::int64_t y = 0; y < 2; ++y) shown.push_back(fixtures::columns(d.frame, sync.minX(), y, sync.size.width));
        EXPECT_EQ(shown, c.rows);
        EXPECT_EQ(fixtures::hit(d.frame, sync.minX() + 3, 0).has_value(), c.clickable);
    }
}

// At 80 columns the sync button has 24 columns per line: a line that does
// not fit is cut between words, in either language.
TEST(ToolbarView, SyncLinesAreCutBetweenWords) {
    const struct {
        core::Language language;
        std::string second;
    } cases[] = {
        {core::Language::en, "   Last fetched 3 minutes…  "},
        {core::Language::es, "   Última vez: hace 3…      "},
    };
    for (const auto& c : cases) {
        AppState state = fixtures::stateWith();
        state.workspace->remoteURL = "https://example.com/o/repo.git";
        state.workspace->status.branch.upstream = "origin/main";
        state.now = 10'000;
        state.workspace->sync.lastFetched = 10'000 - 180;
        Drawn d{fixtures::frame(Size{80, 24}, state.now),
                WorkspaceLayout::make(Size{80, 24}, features::WorkspaceTab::changes, features::WorkspaceFocus::files)};
        d.frame.language = c.language;
        ToolbarView::draw(d.frame, state, *state.workspace, d.layout);
        const auto& sync = d.layout.segments[2];
        EXPECT_EQ(fixtures::columns(d.frame, sync.minX(), 1, sync.size.width), c.second);
    }
}

TEST(ToolbarView, NarrowSyncSegmentIsBlankAndNotClickable) {
    // At 20 columns the segments are 8, 6 and 4 columns wide.
    const Drawn d = drawToolbar(fixtures::stateWith(), Size{20, 14});
    EXPECT_EQ(d.layout.segments[2].size.width, 4);
    EXPECT_EQ(fixtures::rows(d.frame, 0, 2), (std::vector<std::string>{" Curr   │ Cu   │    ", " ▫ re ▾ │ ⎇  ▾ │    "}));
    EXPECT_FALSE(fixtures::hit(d.frame, 17, 0));
}

}  // namespace
}  // namespace tarv::ui
