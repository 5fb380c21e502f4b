#include <gtest/gtest.h>

#include "PaneTestFrame.hpp"
#include "TarvUI/Components/HistoryViews.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::ChangeKind;
using core::Commit;
using core::CommitFile;
using core::Tag;
using features::AppAction;
using features::WorkspaceAction;
using features::WorkspaceState;
using terminal::Color;
using terminal::Rect;
using test::cellAt;
using test::frameNow;
using test::regionAt;
using test::screenRows;

const Theme& theme = Theme::dark;
const std::string rule40 = [] {
    std::string rule;
    for (int i = 0; i < 40; ++i) rule += "\xE2\x94\x80";
    return rule;
}();

// Three commits (the second tagged twice, with escape sequences in its
// summary and author), the second one selected; four files of it.
WorkspaceState sample() {
    WorkspaceState ws("/repo", "repo", std::nullopt);
    auto& h = ws.history;
    h.commits = {
        Commit{"aaaaaaa1111", {}, "Ada", "ada@example.com", frameNow - 120, "Fix the parser"},
        Commit{"bbbbbbb2222", {}, "Linus \x1b[31mT", "linus@example.org", frameNow - 3 * 86400,
               "Merge \x1b]0;x\x07 branch\xC2\x9B"},
        Commit{"ccccccc3333", {}, "Zo\xC3\xAB", "zo\xC3\xAB@example.com", frameNow - 400 * 86400,
               "Initial commit with a very long summary that goes on"},
    };
    h.list.selected = 1;
    h.files = {CommitFile{"src/a.c", ChangeKind::modified, 3, 1},
               CommitFile{"docs/very/long/path/name/readme.md", ChangeKind::renamed, 10, std::nullopt},
               CommitFile{"img.png", ChangeKind::added, std::nullopt, std::nullopt},
               CommitFile{"x", ChangeKind::conflicted, 0, 2}};
    h.filesList.selected = 0;
    ws.tags = {Tag{"v1.0", "bbbbbbb2222"}, Tag{"other", "zzzz"}, Tag{"rc", "bbbbbbb2222"}};
    return ws;
}

enum class View { list, files, header };

UIFrame drawn(View view, const WorkspaceState& ws, std::int64_t width, std::int64_t height, bool focused = true) {
    UIFrame frame = test::paneFrame(width, height);
    const Rect rect(0, 0, width, height);
    switch (view) {
        case View::list: HistoryViews::drawCommitList(frame, ws, rect, focused); break;
        case View::files: HistoryViews::drawCommitFiles(frame, ws, rect, focused); break;
        case View::header: HistoryViews::drawCommitHeader(frame, ws, rect); break;
    }
    return frame;
}

TEST(HistoryViews, AvatarColourTable) {
    struct Case {
        std::string email;
        std::uint32_t colour;
    };
    const Case cases[] = {
        {"", 0x39C5CF},  // 5381: entry 5
        {"a", 0xF47067},
        {"ada@example.com", 0xB083F0},
        {"linus@example.org", 0xC69026},
        {"\xC3\xA9", 0xF47067},       // é hashes as U+00E9, not as its two bytes
        {"\xC3\xAB" "a", 0x539BF5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(HistoryViews::avatarColor(c.email), Color::hex(c.colour)) << c.email;
        EXPECT_EQ(HistoryViews::avatarColor(c.email), HistoryViews::avatarColor(std::string(c.email)));
    }
}

TEST(HistoryViews, CommitListGolden) {
    const UIFrame frame = drawn(View::list, sample(), 40, 8);
    const std::vector<std::string> expected = {
        " \xE2\x8C\x95 Compare to a branch\xE2\x80\xA6                 ",
        rule40,
        " Fix the parser                         ",
        " \xE2\x97\x8F Ada \xC2\xB7 2 minutes ago                  ",
        " Merge ]0;x branch                      ",
        " \xE2\x97\x8F \xE2\x97\x86 v1.0 \xE2\x97\x86 rc Linus [31mT \xC2\xB7 3 days ago ",
        " Initial commit with a very long summa\xE2\x80\xA6 ",
        " \xE2\x97\x8F Zo\xC3\xAB \xC2\xB7 1 year ago                     ",
    };
    EXPECT_EQ(screenRows(frame), expected);
    EXPECT_FALSE(test::holdsControlCharacter(frame));
    EXPECT_EQ(frame.viewports.historyList, 3);

    const ThemeStyles s(theme, false);
    const auto bold = terminal::Attributes::bold;
    EXPECT_EQ(cellAt(frame, 2, 0).style, s.dim.with(std::nullopt, theme.surface.color()));
    EXPECT_EQ(cellAt(frame, 0, 1).style, s.border.with(std::nullopt, theme.surface.color()));
    EXPECT_EQ(cellAt(frame, 1, 2).style, s.surface.with(std::nullopt, std::nullopt, bold));
    EXPECT_EQ(cellAt(frame, 1, 3).style.foreground, Color::hex(0xB083F0));
    EXPECT_EQ(cellAt(frame, 30, 4).style, s.selectedFocused);
    EXPECT_EQ(cellAt(frame, 3, 5).style, s.selectedFocused.with(theme.warning.color(), std::nullopt, bold));
    EXPECT_EQ(cellAt(frame, 15, 5).style, s.selectedFocused.with(theme.textSecondary.color(), std::nullopt));
    // Without the focus the selection keeps its highlight, in `selected`.
    EXPECT_EQ(cellAt(drawn(View::list, sample(), 40, 8, false), 30, 4).style, s.selected);
}

TEST(HistoryViews, CommitRegions) {
    const UIFrame frame = drawn(View::list, sample(), 40, 8);
    HitRegion commit = HitRegion::pressing({WorkspaceAction::SelectCommit{2}});
    commit.context = HitRegion::Context{
        {WorkspaceAction::SelectCommit{2}},
        {AppCommand::cherryPickCommit, AppCommand::revertCommit, AppCommand::branchFromCommit,
         AppCommand::createTagOnCommit, AppCommand::squashCommit, AppCommand::moveCommitUp, AppCommand::moveCommitDown,
         AppCommand::resetSoftToCommit, AppCommand::resetMixedToCommit, AppCommand::copySHA, AppCommand::openOnWeb},
        std::nullopt};
    commit.scroll = HitRegion::ScrollTarget::pane(features::Pane::historyList);
    EXPECT_EQ(*regionAt(frame, 20, 6), commit);
    EXPECT_EQ(*regionAt(frame, 20, 7), commit);
    EXPECT_FALSE(regionAt(frame, 20, 1));
    const UIFrame empty = drawn(View::list, WorkspaceState("/r", "r", std::nullopt), 40, 8);
    EXPECT_EQ(*regionAt(empty, 20, 5), HitRegion::scrolling(features::Pane::historyList));
}

// Tags take at most C - 10 columns (one of them a gap) before the author;
// with C of 10 or less there are none.
TEST(HistoryViews, TagsAndAuthorByWidth) {
    WorkspaceState ws = sample();
    ws.history.commits.erase(ws.history.commits.begin());
    ws.history.commits.pop_back();
    ws.history.list.selected.reset();
    struct Case {
        std::int64_t width;
        std::string row;
    };
    const Case cases[] = {
        {40, " \xE2\x97\x8F \xE2\x97\x86 v1.0 \xE2\x97\x86 rc Linus [31mT \xC2\xB7 3 days ago "},
        {20, " \xE2\x97\x8F \xE2\x97\x86 v1.0 \xE2\x97\x86\xE2\x80\xA6 Linus\xE2\x80\xA6 "},
        {10, " \xE2\x97\x8F Linus\xE2\x80\xA6 "},
        {8, " \xE2\x97\x8F Lin\xE2\x80\xA6 "},
    };
    for (const Case& c : cases) EXPECT_EQ(screenRows(drawn(View::list, ws, c.width, 4))[3], c.row) << c.width;
}

TEST(HistoryViews, ListCapacityAndScrollBar) {
    struct Case {
        std::int64_t height;
        std::int64_t capacity;
        bool scrollBar;
    };
    const Case cases[] = {{3, 1, true}, {5, 1, true}, {6, 2, true}, {8, 3, false}, {20, 9, false}};
    for (const Case& c : cases) {
        const UIFrame frame = drawn(View::list, sample(), 30, c.height);
        EXPECT_EQ(frame.viewports.historyList, c.capacity) << c.height;
        EXPECT_EQ(screenRows(frame)[2].ends_with("\xE2\x94\x83"), c.scrollBar) << c.height;
    }
    const UIFrame tiny = drawn(View::list, sample(), 30, 2);
    EXPECT_EQ(tiny.viewports, features::Viewports{});
    EXPECT_TRUE(tiny.hits.regions().empty());
    EXPECT_EQ(cellAt(tiny, 0, 0).style, ThemeStyles(theme, false).surface);
}

TEST(HistoryViews, EmptyListMessages) {
    WorkspaceState ws("/r", "r", std::nullopt);
    EXPECT_EQ(screenRows(drawn(View::list, ws, 30, 4))[3], "  No commits yet              ");
    ws.history.isLoading = true;
    EXPECT_EQ(screenRows(drawn(View::list, ws, 30, 4))[3], "  Loading\xE2\x80\xA6                    ");
}

TEST(HistoryViews, CommitFilesGolden) {
    const UIFrame frame = drawn(View::files, sample(), 30, 6);
    const std::vector<std::string> expected = {
        " 4 changed files              ",
        rule40.substr(0, 30 * 3),
        " \xE2\x97\xBC src/a.c                    ",
        " \xE2\x9E\x9C docs/very\xE2\x80\xA6h/name/readme.md ",
        " \xE2\x9C\x9A img.png                    ",
        " ! x                          ",
    };
    EXPECT_EQ(screenRows(frame), expected);
    EXPECT_EQ(frame.viewports.historyFiles, 4);
    const ThemeStyles s(theme, false);
    EXPECT_EQ(cellAt(frame, 3, 2).style, s.selectedFocused);
    EXPECT_EQ(cellAt(drawn(View::files, sample(), 30, 6, false), 3, 2).style, s.selected);
    HitRegion row = HitRegion::pressing({WorkspaceAction::SelectCommitFile{3}});
    row.scroll = HitRegion::ScrollTarget::pane(features::Pane::historyFiles);
    EXPECT_EQ(*regionAt(frame, 29, 5), row);
}

// Files that could not be read show git's message where the list would be,
// never "0 changed files".
TEST(HistoryViews, CommitFilesThatFailedShowTheError) {
    WorkspaceState ws("/r", "r", std::nullopt);
    ws.history.filesError = "fatal: unable to read 3b18e512dba79e4c8300dd08aeb37f8e728b8dad";
    const std::vector<std::string> expected = {
        " fatal: unable to read        ",
        " 3b18e512dba79e4c8300dd08aeb3 ",
        " 7f8e728b8dad                 ",
        "                              ",
    };
    EXPECT_EQ(screenRows(drawn(View::files, ws, 30, 4)), expected);
}

// A line break in a committed file's name is shown, not dropped: the two
// files below read differently.
TEST(HistoryViews, CommitFilesShowControlCharactersOfNames) {
    WorkspaceState ws("/r", "r", std::nullopt);
    ws.history.files = {CommitFile{"a\nb.txt", ChangeKind::added, 1, 0}, CommitFile{"ab.txt", ChangeKind::added, 1, 0}};
    const std::vector<std::string> expected = {
        " \xE2\x9C\x9A a\xC2\xB7" "b.txt          ",
        " \xE2\x9C\x9A ab.txt           ",
    };
    const auto rows = screenRows(drawn(View::files, ws, 20, 4));
    EXPECT_EQ(std::vector<std::string>(rows.begin() + 2, rows.end()), expected);
}

TEST(HistoryViews, FileKindGlyphs) {
    struct Case {
        ChangeKind kind;
        std::string glyph;
        ThemeColor colour;
    };
    const Case cases[] = {
        {ChangeKind::modified, "\xE2\x97\xBC", theme.warning}, {ChangeKind::added, "\xE2\x9C\x9A", theme.success},
        {ChangeKind::deleted, "\xE2\x9C\x96", theme.danger},   {ChangeKind::renamed, "\xE2\x9E\x9C", theme.accent},
        {ChangeKind::copied, "\xE2\xA7\x89", theme.accent},    {ChangeKind::typeChanged, "\xE2\x97\xBC", theme.warning},
        {ChangeKind::untracked, "\xE2\x9C\x9A", theme.success}, {ChangeKind::conflicted, "!", theme.danger},
    };
    for (const Case& c : cases) {
        WorkspaceState ws("/r", "r", std::nullopt);
        ws.history.files = {CommitFile{"f", c.kind, 1, 1}};
        const UIFrame frame = drawn(View::files, ws, 20, 3);
        EXPECT_EQ(cellAt(frame, 1, 2).character, c.glyph);
        EXPECT_EQ(cellAt(frame, 1, 2).style, ThemeStyles(theme, false).surface.with(c.colour.color(), std::nullopt));
    }
}

TEST(HistoryViews, CommitHeader) {
    const UIFrame frame = drawn(View::header, sample(), 40, 2);
    const std::vector<std::string> expected = {
        " Merge ]0;x branch               +13 \xE2\x88\x92" "3 ",
        " \xE2\x97\x8F Linus [31mT \xC2\xB7 3 days ago \xC2\xB7 bbbbbbb   ",
    };
    EXPECT_EQ(screenRows(frame), expected);
    const ThemeStyles s(theme, false);
    EXPECT_EQ(cellAt(frame, 33, 0).style, s.success);
    EXPECT_EQ(cellAt(frame, 37, 0).style, s.danger);
    EXPECT_EQ(cellAt(frame, 1, 1).style, s.background.with(Color::hex(0xC69026), std::nullopt));
    EXPECT_EQ(cellAt(frame, 5, 1).style, s.dim);

    // Files without line counts still show both counts, as 0.
    WorkspaceState binary = sample();
    binary.history.files = {CommitFile{"img.png", ChangeKind::added, std::nullopt, std::nullopt}};
    EXPECT_TRUE(screenRows(drawn(View::header, binary, 40, 2))[0].ends_with("+0 \xE2\x88\x92" "0 "));
    // No files: no counts.
    binary.history.files.clear();
    EXPECT_EQ(screenRows(drawn(View::header, binary, 40, 2))[0], " Merge ]0;x branch                      ");
    // No selected commit, or one row only: the background alone.
    WorkspaceState none = sample();
    none.history.list.selected.reset();
    for (const UIFrame& blank : {drawn(View::header, none, 40, 2), drawn(View::header, sample(), 40, 1)}) {
        EXPECT_EQ(screenRows(blank)[0], std::string(40, ' '));
        EXPECT_EQ(cellAt(blank, 0, 0).style, s.background);
    }
}

}  // namespace
}  // namespace tarv::ui
