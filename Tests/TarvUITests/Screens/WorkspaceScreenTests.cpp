#include <gtest/gtest.h>

#include "TarvUI/Screens/WorkspaceScreen.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::ChangeKind;
using features::AppAction;
using features::AppState;
using features::WorkspaceFocus;
using features::WorkspaceTab;
using terminal::Rect;
using terminal::Size;

UIFrame drawScreen(const AppState& state, Size size) {
    UIFrame frame = fixtures::frame(size, state.now);
    const auto& ws = *state.workspace;
    WorkspaceScreen::draw(frame, state, ws, WorkspaceLayout::make(size, ws.tab, ws.focus));
    return frame;
}

// A horizontal rule of `width` columns.
std::string line(int width) {
    std::string rule;
    for (int i = 0; i < width; ++i) rule += "─";
    return rule;
}

AppState changesState(WorkspaceFocus focus = WorkspaceFocus::files) {
    AppState state = fixtures::stateWith({fixtures::file("src/app/main.cpp"), fixtures::file("README.md", ChangeKind::added),
                                          fixtures::file("lib/old.c", ChangeKind::deleted)});
    auto& ws = *state.workspace;
    ws.focus = focus;
    ws.changes.selectedPath = "src/app/main.cpp";
    ws.changes.list.selected = 0;
    ws.changes.diff.setDiff(fixtures::diff(2, 2));
    return state;
}

AppState historyState(WorkspaceFocus focus) {
    AppState state = changesState();
    auto& ws = *state.workspace;
    ws.tab = WorkspaceTab::history;
    ws.focus = focus;
    core::Commit first;
    first.sha = "0123456789abcdef";
    first.summary = "Add the parser";
    first.authorName = "Ada";
    first.authorEmail = "ada@example.com";
    first.timestamp = 1000;
    core::Commit second = first;
    second.sha = "fedcba9876543210";
    second.summary = "Initial commit";
    second.authorName = "Bob";
    ws.history.commits = {first, second};
    ws.history.list.selected = 0;
    ws.history.files = {core::CommitFile{"src/parser.cpp", ChangeKind::added, 10, 0}};
    ws.history.filesList.selected = 0;
    ws.history.diff.setDiff(fixtures::diff(1, 1));
    state.now = 4600;
    return state;
}

TEST(WorkspaceScreen, ChangesAt80x24) {
    const UIFrame frame = drawScreen(changesState(), Size{80, 24});
    EXPECT_ROWS(frame, 0, (std::vector<std::string>{
        " Current repository           │ Current branch     │ ↑ Publish repository       ",
        " ▫ repo                     ▾ │ ⎇ main           ▾ │   No remote configured     ",
        "────────────────────────────────────────────────────────────────────────────────",
        " Changes 3   History                                                            ",
        " ⌕ Filter…                    │ src/app/main.cpp                          +2 −2 ",
        " ☑ 3 changed files            │ ☑ @@ -1 +1 @@                                   ",
        "──────────────────────────────│ ☑ 1   − old 0                                   ",
        " ☑ src/app/main.cpp         ◼ │ ☑   1 + new 0                                   ",
        " ☑ README.md                ✚ │   2 2   same                                    ",
        " ☑ lib/old.c                ✖ │   3 3   same                                    ",
        "                              │ ☑ @@ -4 +4 @@                                   ",
        "                              │ ☑ 4   − old 1                                   ",
        "                              │ ☑   4 + new 1                                   ",
        "                              │   5 5   same                                    ",
        "                              │   6 6   same                                    ",
        "──────────────────────────────│                                                 ",
        " ◔ Summary (required)         │                                                 ",
        " ╭──────────────────────────╮ │                                                 ",
        " │Description               │ │                                                 ",
        " │                          │ │                                                 ",
        " │                          │ │                                                 ",
        " ╰──────────────────────────╯ │                                                 ",
        "    Commit 3 files to main    │                                                 ",
        " Tab pane · Space include · c message · ⌃P commands · ? help   main · 3 changes ",
    }));
    const ThemeStyles& s = frame.styles;
    const Theme& t = s.theme;
    const terminal::Attributes active{terminal::Attributes::bold, terminal::Attributes::underline};
    EXPECT_EQ(fixtures::cell(frame, 1, 3).style, s.surface.with(t.textPrimary.color(), std::nullopt, active));
    EXPECT_EQ(fixtures::cell(frame, 13, 3).style, s.surface.with(t.textSecondary.color(), std::nullopt));
    EXPECT_EQ(fixtures::cell(frame, 0, 3).style, s.surface);
    EXPECT_EQ(fixtures::cell(frame, 30, 3).style, s.border);
    EXPECT_EQ(fixtures::cell(frame, 30, 10).style, s.border);
    EXPECT_EQ(fixtures::cell(frame, 33, 4).style, s.dim);
    EXPECT_EQ(fixtures::cell(frame, 41, 4).style, s.bold);
    EXPECT_EQ(fixtures::cell(frame, 74, 4).style, s.success);
    EXPECT_EQ(fixtures::cell(frame, 77, 4).style, s.danger);
    EXPECT_EQ(fixtures::cell(frame, 79, 4).style, s.background);
    EXPECT_EQ(frame.viewports.fileList, 8);
    EXPECT_EQ(frame.viewports.diff, 18);
}

TEST(WorkspaceScreen, CompactSwapsTheSinglePaneWithTheFocus) {
    const UIFrame list = drawScreen(changesState(), Size{60, 20});
    EXPECT_ROWS(list, 3, (std::vector<std::string>{
        " Changes 3   History                                        ",
        " ⌕ Filter…                                                  ",
        " ☑ 3 changed files                                          ",
        "────────────────────────────────────────────────────────────",
        " ☑ src/app/main.cpp                                       ◼ ",
    }));
    const UIFrame diff = drawScreen(changesState(WorkspaceFocus::diff), Size{60, 20});
    EXPECT_ROWS(diff, 3, (std::vector<std::string>{
        " Changes 3   History                                        ",
        " src/app/main.cpp                                     +2 −2 ",
        "▌☑ @@ -1 +1 @@                                              ",
        " ☑ 1   − old 0                                              ",
    }));
    // No separators in a compact layout.
    for (std::int64_t y = 4; y < 19; ++y) EXPECT_NE(fixtures::cell(diff, 24, y).character, "│");
}

TEST(WorkspaceScreen, HistoryAt120x40) {
    const UIFrame frame = drawScreen(historyState(WorkspaceFocus::historyList), Size{120, 40});
    EXPECT_ROWS(frame, 3, (std::vector<std::string>{
        " Changes 3   History                                                                                                    ",
        " ⌕ Compare to a branch…               │ 1 changed file             │ Add the parser                              +10 −0 ",
        "──────────────────────────────────────│────────────────────────────│ ● Ada · 1 hour ago · 0123456                       ",
        " Add the parser                       │ ✚ src/parser.cpp           │────────────────────────────────────────────────────",
        " ● Ada · 1 hour ago                   │                            │ @@ -1 +1 @@                                        ",
        " Initial commit                       │                            │ 1   − old 0                                        ",
    }));
    EXPECT_EQ(fixtures::row(frame, 39),
              " ↑↓ move · ⏎ open · y copy SHA · Tab pane · ⌃P commands · ? help                                       main · 3 changes ");
    const ThemeStyles& s = frame.styles;
    EXPECT_EQ(fixtures::cell(frame, 13, 3).style,
              s.surface.with(s.theme.textPrimary.color(), std::nullopt,
                             terminal::Attributes{terminal::Attributes::bold, terminal::Attributes::underline}));
    EXPECT_EQ(fixtures::cell(frame, 67, 20).character, "│");
}

TEST(WorkspaceScreen, MinimumSize) {
    const UIFrame frame = drawScreen(changesState(), Size{50, 14});
    EXPECT_ROWS(frame, 0, (std::vector<std::string>{
        " Current reposito   │ Current bra   │ ↑ Publish…  ",
        " ▫ repo           ▾ │ ⎇ main      ▾ │   No…       ",
        "──────────────────────────────────────────────────",
        " Changes 3   History                              ",
        " ⌕ Filter…                                        ",
        " ☑ 3 changed files                                ",
        "──────────────────────────────────────────────────",
        " ☑ src/app/main.cpp                            ◼ ┃",
        " ☑ README.md                                   ✚ │",
        "──────────────────────────────────────────────────",
        " ◔ Summary (required)                             ",
        "                                                  ",
        "              Commit 3 files to main              ",
        " ⌃P commands · ? help            main · 3 changes ",
    }));
}

TEST(WorkspaceScreen, CommitBoxHeightBySidebarHeight) {
    const struct {
        std::int64_t sidebar;
        std::int64_t box;
    } cases[] = {{9, 4}, {12, 4}, {13, 7}, {17, 7}, {18, 8}, {30, 8}};
    for (const auto& c : cases) {
        const UIFrame frame = drawScreen(changesState(), Size{80, c.sidebar + 5});
        // The list area is what the box leaves: 3 header rows and the rows.
        EXPECT_EQ(frame.viewports.fileList, std::max<std::int64_t>(c.sidebar - c.box - 3, 1)) << c.sidebar;
        const std::int64_t rule = 4 + c.sidebar - c.box;
        EXPECT_TRUE(fixtures::row(frame, rule).starts_with(line(30))) << c.sidebar;
    }
}

TEST(WorkspaceScreen, BannerOnlyWhenTheListAreaHasRoom) {
    const struct {
        std::int64_t height;
        bool banner;
    } cases[] = {{14, false}, {15, true}, {24, true}};
    for (const auto& c : cases) {
        AppState state = changesState();
        state.workspace->status.operation = core::RepositoryOperation::merge;
        const UIFrame frame = drawScreen(state, Size{80, c.height});
        EXPECT_EQ(fixtures::row(frame, 4).starts_with(" Merge · ready to complete"), c.banner) << c.height;
        EXPECT_EQ(fixtures::row(frame, c.banner ? 6 : 4).starts_with(" ⌕ Filter…"), true) << c.height;
    }
}

TEST(WorkspaceScreen, SeparatorsSkipTheLastColumn) {
    AppState state = changesState();
    UIFrame frame = fixtures::frame(Size{40, 14});
    WorkspaceLayout layout = WorkspaceLayout::make(Size{40, 14}, WorkspaceTab::changes, WorkspaceFocus::files);
    layout.sidebar = Rect(0, 4, 39, 9);
    layout.main = Rect(40, 4, 0, 9);
    WorkspaceScreen::draw(frame, state, *state.workspace, layout);
    for (std::int64_t y = 4; y < 13; ++y) EXPECT_NE(fixtures::cell(frame, 39, y).character, "│") << y;
}

TEST(WorkspaceScreen, LineCountsOnlyForALoadedTextDiff) {
    const struct {
        const char* name;
        std::optional<core::Diff> diff;
        std::string header;
    } cases[] = {
        {"loaded", fixtures::diff(1), " src/app/main.cpp                          +1 −1 "},
        {"not loaded", std::nullopt, " src/app/main.cpp                                "},
        {"binary", core::Diff{true, {}}, " src/app/main.cpp                                "},
    };
    for (const auto& c : cases) {
        AppState state = changesState();
        state.workspace->changes.diff.setDiff(c.diff);
        const std::string row = fixtures::row(drawScreen(state, Size{80, 24}), 4);
        EXPECT_EQ(row.substr(row.find("│") + std::string("│").size()), c.header) << c.name;
    }
}

TEST(WorkspaceScreen, ConflictReplacesTheDiff) {
    AppState state = changesState(WorkspaceFocus::diff);
    auto& ws = *state.workspace;
    ws.status.files.push_back(fixtures::file("conflict.txt", ChangeKind::conflicted));
    ws.changes.knownPaths.insert("conflict.txt");
    fixtures::showConflict(ws, "conflict.txt", true);
    ws.changes.list.selected = 3;
    const UIFrame frame = drawScreen(state, Size{80, 24});
    const std::string header = fixtures::row(frame, 4);
    EXPECT_TRUE(header.ends_with("│ conflict.txt                              +2 −2 ")) << header;
    EXPECT_EQ(fixtures::row(frame, 6).find("Conflict 1 of 1") != std::string::npos, true) << fixtures::row(frame, 6);
    EXPECT_EQ(fixtures::row(frame, 23).starts_with(" m A current · t B incoming"), true);
}

TEST(WorkspaceScreen, HistorySidebarSplit) {
    // 80 columns: no middle column, so the sidebar holds the list and the
    // commit's files, a rule between them.
    const struct {
        std::int64_t sidebar;
        std::int64_t list;
    } cases[] = {{9, 6}, {10, 6}, {20, 12}};
    for (const auto& c : cases) {
        const UIFrame frame = drawScreen(historyState(WorkspaceFocus::historyFiles), Size{80, c.sidebar + 5});
        EXPECT_TRUE(fixtures::row(frame, 4 + c.list).starts_with(line(30))) << c.sidebar;
        EXPECT_EQ(frame.viewports.historyList, std::max<std::int64_t>((c.list - 2) / 2, 1)) << c.sidebar;
    }
    // Compact with the list focused: the list takes the whole sidebar.
    const UIFrame compact = drawScreen(historyState(WorkspaceFocus::historyList), Size{60, 25});
    EXPECT_EQ(compact.viewports.historyList, 9);
}

TEST(WorkspaceScreen, TabRegions) {
    const UIFrame frame = drawScreen(changesState(), Size{80, 24});
    const auto changes = HitRegion::pressing({AppAction::Command{AppCommand::showChanges}});
    const auto history = HitRegion::pressing({AppAction::Command{AppCommand::showHistory}});
    // "Changes 3" at columns 1-9, "History" at 13-19.
    const struct {
        std::int64_t x;
        std::optional<HitRegion> region;
    } cases[] = {{0, changes}, {10, changes}, {11, std::nullopt}, {12, history}, {20, history}, {21, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(fixtures::hit(frame, c.x, 3), c.region) << c.x;
}

TEST(WorkspaceScreen, RepositoryTextNeverReachesTheTerminalAsControls) {
    AppState state = fixtures::stateWith({fixtures::file("evil\x1b[2J\x07.txt"), fixtures::file("c1\xc2\x9b" "31m.txt"),
                                          fixtures::file("nul\x7f\x01" "end", ChangeKind::added)});
    auto& ws = *state.workspace;
    ws.name = "repo\x1b]0;pwned\x07";
    ws.status.branch.head = "main\x1b[5m";
    ws.changes.selectedPath = "evil\x1b[2J\x07.txt";
    ws.changes.list.selected = 0;
    core::Diff diff = fixtures::diff(1);
    const auto retext = [&diff](std::size_t index, std::string_view text) {
        core::DiffLine line = diff.hunks[0].lines[index];
        line.text = text;
        diff.hunks[0].lines.set(index, line);
    };
    retext(0, "rm\x1b[1;1H\xc2\x85\xc2\x9d" "8;;http://x\x1b\\");
    retext(1, "tab\there\r");
    ws.changes.diff.setDiff(diff);
    state.toast = features::Toast{1, core::Text::raw("failed: \x1b[31mred\xc2\x9b" "0m"), true};
    const UIFrame frame = drawScreen(state, Size{80, 24});
    EXPECT_ROWS(frame, 0, (std::vector<std::string>{
        " Current repository           │ Current branch     │ ↑ Publish repository       ",
        " ▫ repo]0;pwned             ▾ │ ⎇ main[5m        ▾ │   No remote configured     ",
    }));
    EXPECT_ROWS(frame, 4, (std::vector<std::string>{
        " ⌕ Filter…                    │ evil·[2J·.txt                             +1 −1 ",
        " ☑ 3 changed files            │ ☑ @@ -1 +1 @@                                   ",
        "──────────────────────────────│ ☑ 1   − rm·[1;1H··8;;http://x·\\                 ",
        " ☑ evil·[2J·.txt            ◼ │ ☑   1 + tab here·                               ",
        " ☑ c1·31m.txt               ◼ │   2 2   same                                    ",
        " ☑ nul··end                 ✚ │                                                 ",
    }));
    EXPECT_EQ(fixtures::row(frame, 23), " failed: [31mred0m                                                              ");
    for (const auto& cell : frame.canvas.grid().cells) {
        for (std::size_t i = 0; i < cell.character.size(); ++i) {
            const auto byte = static_cast<unsigned char>(cell.character[i]);
            EXPECT_FALSE(byte < 0x20 || byte == 0x7f) << "control byte in a cell";
            if (byte == 0xc2 && i + 1 < cell.character.size()) {
                const auto next = static_cast<unsigned char>(cell.character[i + 1]);
                EXPECT_FALSE(next >= 0x80 && next <= 0x9f) << "C1 control in a cell";
            }
        }
    }
}

}  // namespace
}  // namespace tarv::ui
