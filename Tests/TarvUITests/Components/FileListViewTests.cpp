#include <gtest/gtest.h>

#include "TarvUI/Components/FileListView.hpp"
#include "TarvUITests/FrameFixtures.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::ChangeKind;
using features::AppAction;
using features::WorkspaceAction;
using features::WorkspaceState;
using terminal::Rect;
using terminal::Size;

// Header and list drawn as the workspace screen does, into a sidebar of
// `width` x `height` at the origin.
UIFrame drawList(const WorkspaceState& ws, std::int64_t width, std::int64_t height, bool focused = true) {
    UIFrame frame = fixtures::frame(Size{width, height});
    const Rect list = FileListView::drawHeader(frame, ws, Rect(0, 0, width, height));
    FileListView::draw(frame, ws, list, focused);
    return frame;
}

features::AppState threeFiles() {
    auto state = fixtures::stateWith({fixtures::file("src/app/main.cpp"), fixtures::file("README.md", ChangeKind::added),
                                      fixtures::file("lib/old.c", ChangeKind::deleted)});
    state.workspace->changes.list.selected = 0;
    state.workspace->changes.selectedPath = "src/app/main.cpp";
    return state;
}

TEST(FileListView, Golden) {
    auto state = threeFiles();
    auto& ws = *state.workspace;
    ws.changes.included.erase("README.md");
    const UIFrame frame = drawList(ws, 30, 7);
    EXPECT_EQ(fixtures::rows(frame, 0, 7), (std::vector<std::string>{
                                               " ⌕ Filter…                    ",
                                               " ◪ 3 changed files            ",
                                               "──────────────────────────────",
                                               " ☑ src/app/main.cpp         ◼ ",
                                               " ☐ README.md                ✚ ",
                                               " ☑ lib/old.c                ✖ ",
                                               "                              ",
                                           }));
    const ThemeStyles& s = frame.styles;
    const Theme& t = s.theme;
    EXPECT_EQ(fixtures::cell(frame, 3, 0).style, s.placeholder);
    EXPECT_EQ(fixtures::cell(frame, 1, 1).style, (terminal::Style{t.accent.color(), t.surface.color(), {}}));
    EXPECT_EQ(fixtures::cell(frame, 3, 1).style, s.bold.with(std::nullopt, t.surface.color()));
    EXPECT_EQ(fixtures::cell(frame, 0, 3).style, s.selectedFocused);
    EXPECT_EQ(fixtures::cell(frame, 1, 3).style, s.selectedFocused.with(t.accent.color(), std::nullopt));
    EXPECT_EQ(fixtures::cell(frame, 3, 3).style, s.selectedFocused.with(t.textSecondary.color(), std::nullopt));
    EXPECT_EQ(fixtures::cell(frame, 11, 3).style, s.selectedFocused);
    EXPECT_EQ(fixtures::cell(frame, 28, 3).style, s.selectedFocused.with(t.warning.color(), std::nullopt));
    EXPECT_EQ(fixtures::cell(frame, 1, 4).style, s.surface.with(t.textSecondary.color(), std::nullopt));
    EXPECT_EQ(fixtures::cell(frame, 28, 4).style, s.surface.with(t.success.color(), std::nullopt));
    EXPECT_EQ(frame.viewports.fileList, 4);

    const UIFrame unfocused = drawList(ws, 30, 7, false);
    EXPECT_EQ(fixtures::cell(unfocused, 0, 3).style, s.selected);
}

// A control character in a name is shown as "·", never dropped: "a<LF>b.txt"
// and "ab.txt" are two rows that read differently, also when cut.
TEST(FileListView, ControlCharactersInNamesStayVisible) {
    auto state = fixtures::stateWith({fixtures::file("a\nb.txt"), fixtures::file("ab.txt"),
                                      fixtures::file("dir\r/deep/name\x1b.c")});
    EXPECT_EQ(fixtures::rows(drawList(*state.workspace, 20, 6), 3, 6), (std::vector<std::string>{
                                                                          " ☑ a·b.txt        ◼ ",
                                                                          " ☑ ab.txt         ◼ ",
                                                                          " ☑ dir·/…/name·.c ◼ ",
                                                                      }));
}

TEST(FileListView, EmptyList) {
    auto state = fixtures::stateWith();
    auto& ws = *state.workspace;
    ws.isStatusLoaded = false;
    EXPECT_EQ(fixtures::rows(drawList(ws, 24, 8), 3, 8),
              (std::vector<std::string>(
                  {"                        ", "  Loading…              ", "                        ",
                   "                        ", "                        "})));
    ws.isStatusLoaded = true;
    // The hint wraps to 20 columns; only lines with i + 3 < height are
    // drawn: two of its three lines in a list of 5 rows.
    EXPECT_EQ(fixtures::rows(drawList(ws, 24, 8), 3, 8),
              (std::vector<std::string>({"                        ", "  No local changes      ",
                                         "                        ", "  Edit a file and it    ",
                                         "  will show up here     "})));
    EXPECT_EQ(fixtures::row(drawList(ws, 24, 9), 1), " ☐ 0 changed files      ");
}

TEST(FileListView, ScrollBarTakesTheLastColumnOnlyWhenTheRowsOverflow) {
    std::vector<core::FileChange> files;
    for (const char* name : {"a", "b", "c", "d", "e"}) files.push_back(fixtures::file(name));
    auto five = fixtures::stateWith(files);
    five.workspace->changes.list.offset = 1;
    const UIFrame overflowing = drawList(*five.workspace, 12, 6);
    EXPECT_EQ(fixtures::rows(overflowing, 3, 6),
              (std::vector<std::string>{" ☑ b     ◼ │", " ☑ c     ◼ ┃", " ☑ d     ◼ │"}));
    files.resize(3);
    auto three = fixtures::stateWith(files);
    EXPECT_EQ(fixtures::rows(drawList(*three.workspace, 12, 6), 3, 6),
              (std::vector<std::string>{" ☑ a      ◼ ", " ☑ b      ◼ ", " ☑ c      ◼ "}));
}

TEST(FileListView, KindGlyphs) {
    const struct {
        ChangeKind kind;
        std::optional<bool> documentHasConflicts;
        std::string glyph;
        ThemeColor Theme::*color;
    } cases[] = {
        {ChangeKind::modified, std::nullopt, "◼", &Theme::warning},
        {ChangeKind::added, std::nullopt, "✚", &Theme::success},
        {ChangeKind::deleted, std::nullopt, "✖", &Theme::danger},
        {ChangeKind::renamed, std::nullopt, "➜", &Theme::accent},
        {ChangeKind::copied, std::nullopt, "⧉", &Theme::accent},
        {ChangeKind::typeChanged, std::nullopt, "◼", &Theme::warning},
        {ChangeKind::untracked, std::nullopt, "✚", &Theme::success},
        {ChangeKind::conflicted, std::nullopt, "!", &Theme::danger},
        {ChangeKind::conflicted, true, "!", &Theme::danger},
        {ChangeKind::conflicted, false, "✓", &Theme::success},
    };
    for (const auto& c : cases) {
        auto state = fixtures::stateWith({fixtures::file("f", c.kind)});
        if (c.documentHasConflicts) state.workspace->changes.conflicts["f"] = fixtures::conflictDocument(*c.documentHasConflicts);
        const UIFrame frame = drawList(*state.workspace, 10, 4);
        EXPECT_EQ(fixtures::cell(frame, 8, 3).character, c.glyph);
        EXPECT_EQ(fixtures::cell(frame, 8, 3).style.foreground, (frame.styles.theme.*c.color).color());
    }
}

TEST(FileListView, IncludeGlyphs) {
    const core::Diff diff = fixtures::diff(1);
    const features::PartialFileSelection partial{{core::LineRef{0, 0}}, diff};
    const struct {
        const char* name;
        std::vector<std::string> included;
        bool partlyB;
        std::string filter;
        std::string header;
        std::string rowA;
        std::string rowB;
    } cases[] = {
        {"all", {"a.c", "b.c"}, false, "", "☑ 2 changed files", "☑", "☑"},
        {"one", {"b.c"}, false, "", "◪ 2 changed files", "☐", "☑"},
        {"none", {}, false, "", "☐ 2 changed files", "☐", "☐"},
        {"partial", {"a.c", "b.c"}, true, "", "◪ 2 changed files", "☑", "◪"},
        {"filtered to an included file", {"a.c"}, false, "A.", "☑ 1 changed file ", "☑", ""},
        {"filtered to nothing", {"a.c", "b.c"}, false, "zzz", "☐ 0 changed files", "", ""},
    };
    for (const auto& c : cases) {
        auto state = fixtures::stateWith({fixtures::file("a.c"), fixtures::file("b.c")});
        auto& changes = state.workspace->changes;
        changes.included = {c.included.begin(), c.included.end()};
        if (c.partlyB) changes.partial["b.c"] = partial;
        changes.filter.setText(c.filter);
        const UIFrame frame = drawList(*state.workspace, 20, 5);
        EXPECT_EQ(fixtures::row(frame, 1), " " + c.header + "  ") << c.name;
        EXPECT_EQ(fixtures::cell(frame, 1, 3).character, c.rowA.empty() ? " " : c.rowA) << c.name;
        EXPECT_EQ(fixtures::cell(frame, 1, 4).character, c.rowB.empty() ? " " : c.rowB) << c.name;
    }
    auto state = fixtures::stateWith({fixtures::file("a.c"), fixtures::file("b.c")});
    state.workspace->changes.partial["b.c"] = partial;
    const UIFrame frame = drawList(*state.workspace, 20, 5);
    EXPECT_EQ(fixtures::cell(frame, 1, 4).style.foreground, frame.styles.theme.accent.color());
}

TEST(FileListView, PathsAreCutInTheMiddle) {
    const struct {
        std::string path;
        std::string row;
        std::int64_t dimmedUpTo;
    } cases[] = {
        {"src/components/widgets/button.cpp", " ☑ src/co…/button.cpp ◼ ", 11},
        {"averyveryverylongname/x.txt", " ☑ averyv…gname/x.txt ◼ ", 16},
        {"a/very-long-file-name-here.txt", " ☑ a/very…me-here.txt ◼ ", 5},
        // The ellipsis took the only "/": all in the row's style.
        {"abcdefghij/klmnopqrstuvwxyz.txt", " ☑ abcdef…tuvwxyz.txt ◼ ", 0},
    };
    for (const auto& c : cases) {
        auto state = fixtures::stateWith({fixtures::file(c.path)});
        const UIFrame frame = drawList(*state.workspace, 24, 4);
        EXPECT_EQ(fixtures::row(frame, 3), c.row) << c.path;
        const auto& theme = frame.styles.theme;
        for (std::int64_t x = 3; x < 21; ++x) {
            const bool dim = x < c.dimmedUpTo;
            EXPECT_EQ(fixtures::cell(frame, x, 3).style.foreground,
                      dim ? theme.textSecondary.color() : theme.textPrimary.color())
                << c.path << " column " << x;
        }
    }
}

TEST(FileListView, FilterFieldAndCursor) {
    auto state = threeFiles();
    auto& changes = state.workspace->changes;
    changes.isFilterFocused = true;
    UIFrame empty = drawList(*state.workspace, 20, 6);
    EXPECT_EQ(empty.cursor, (terminal::Point{3, 0}));
    changes.filter.setText("main.cpp-and-more");
    UIFrame typed = drawList(*state.workspace, 20, 6);
    // The input is 16 columns from column 3; the cursor stays visible.
    EXPECT_EQ(fixtures::row(typed, 0), " ⌕ in.cpp-and-more  ");
    EXPECT_EQ(typed.cursor, (terminal::Point{18, 0}));
    changes.isFilterFocused = false;
    EXPECT_EQ(drawList(*state.workspace, 20, 6).cursor, std::nullopt);
}

TEST(FileListView, Regions) {
    auto state = threeFiles();
    state.workspace->status.files[1].kind = ChangeKind::conflicted;
    UIFrame frame = drawList(*state.workspace, 30, 8);

    EXPECT_EQ(fixtures::hit(frame, 5, 0)->press, (std::vector<AppAction>{WorkspaceAction::SetFilterFocused{true}}));
    EXPECT_FALSE(fixtures::hit(frame, 1, 0));
    EXPECT_EQ(fixtures::hit(frame, 20, 1)->press, (std::vector<AppAction>{WorkspaceAction::ToggleAll{}}));

    const auto box = fixtures::hit(frame, 2, 3);
    EXPECT_EQ(*box, HitRegion::pressing({WorkspaceAction::ToggleInclude{"src/app/main.cpp"}}));

    const auto name = fixtures::hit(frame, 3, 3);
    ASSERT_TRUE(name);
    EXPECT_EQ(name->press, (std::vector<AppAction>{WorkspaceAction::SetFilterFocused{false},
                                                   WorkspaceAction::SelectFile{"src/app/main.cpp"}}));
    EXPECT_EQ(name->doublePress, (std::vector<AppAction>{WorkspaceAction::SelectFile{"src/app/main.cpp"},
                                                         AppAction(AppAction::Command{AppCommand::openInEditor})}));
    EXPECT_EQ(name->context->select, (std::vector<AppAction>{WorkspaceAction::SelectFile{"src/app/main.cpp"}}));
    EXPECT_EQ(name->context->items,
              (std::vector<AppCommand>{AppCommand::discardSelected, AppCommand::ignoreFile, AppCommand::copyPath,
                                       AppCommand::revealInFinder, AppCommand::openInEditor, AppCommand::openInVim}));
    EXPECT_EQ(name->context->target, std::nullopt);
    EXPECT_EQ(name->scroll, HitRegion::ScrollTarget::pane(features::Pane::files));

    EXPECT_EQ(fixtures::hit(frame, 29, 4)->context->items,
              (std::vector<AppCommand>{AppCommand::resolveMine, AppCommand::resolveTheirs, AppCommand::markResolved,
                                       AppCommand::copyPath, AppCommand::revealInFinder, AppCommand::openInEditor,
                                       AppCommand::openInVim}));
    // Below the rows only the list's scroll region remains.
    EXPECT_EQ(*fixtures::hit(frame, 10, 7), HitRegion::scrolling(features::Pane::files));
}

// The sidebar leaves the list's cells to the list: whatever it shows, every
// cell of its rectangle is painted and none outside.
TEST(FileListView, PaintsEveryCellOfItsRectangleAndNoneOutside) {
    std::vector<core::FileChange> many;
    for (int i = 0; i < 12; ++i) many.push_back(fixtures::file("f" + std::to_string(i) + ".c"));
    auto notLoaded = fixtures::stateWith();
    notLoaded.workspace->isStatusLoaded = false;
    struct Case {
        const char* name;
        features::AppState state;
    };
    const Case cases[] = {
        {"fewer files than rows", threeFiles()},
        {"more files than rows", fixtures::stateWith(many)},
        {"no changes", fixtures::stateWith()},
        {"not loaded", notLoaded},
    };
    const Rect rect(1, 1, 20, 6);
    for (const Case& c : cases) {
        UIFrame frame = fixtures::frame(Size{22, 8});
        FileListView::draw(frame, *c.state.workspace, rect, false);
        for (std::int64_t y = 0; y < 8; ++y) {
            for (std::int64_t x = 0; x < 22; ++x) {
                EXPECT_EQ(fixtures::cell(frame, x, y).style.background != terminal::Color::defaultColor(),
                          rect.contains(terminal::Point{x, y}))
                    << c.name << " at " << x << "," << y;
            }
        }
    }
}

TEST(FileListView, AListWithoutRowsStillReportsOneVisibleRow) {
    auto state = threeFiles();
    UIFrame frame = fixtures::frame(Size{20, 10});
    FileListView::draw(frame, *state.workspace, Rect(0, 0, 20, 0), true);
    EXPECT_EQ(frame.viewports.fileList, 1);
    EXPECT_TRUE(frame.hits.regions().empty());
}

}  // namespace
}  // namespace tarv::ui
