#include <gtest/gtest.h>

#include <algorithm>

#include "TarvCore/Rules/KeyChordParser.hpp"
#include "TarvUI/Keymap/Keymap.hpp"
#include "TarvUI/Keymap/KeymapDiagnostics.hpp"
#include "TarvUITests/WorkspaceFixtures.hpp"

namespace tarv::ui {
namespace {

using core::AppCommand;
using core::HintItem;
using core::KeyChord;
using features::AppAction;
using features::AppState;
using features::Pane;
using features::WorkspaceAction;
using features::WorkspaceFocus;
using terminal::KeyCode;
using terminal::KeyEvent;
using terminal::Modifiers;
using Scope = Binding::Scope;
using Actions = std::vector<AppAction>;

KeyEvent ch(std::string c, Modifiers m = {}) { return KeyEvent::character(std::move(c), m); }
KeyEvent key(KeyCode code, Modifiers m = {}) { return KeyEvent{std::move(code), m}; }
AppAction command(AppCommand c) { return AppAction(AppAction::Command{c}); }
KeyChord chord(const char* text) { return *core::KeyChordParser::parse(text); }

AppState changesState(WorkspaceFocus focus) {
    AppState state = fixtures::stateWith({fixtures::file("a.txt"), fixtures::file("b.txt"),
                                          fixtures::file("c.txt", core::ChangeKind::conflicted)});
    state.workspace->focus = focus;
    state.workspace->changes.selectedPath = "a.txt";
    return state;
}

const Binding* bindingFor(const Keymap& keymap, Scope scope, const KeyEvent& event) {
    for (const Binding& b : keymap.bindings()) {
        if (b.scope == scope && std::find(b.keys.begin(), b.keys.end(), event) != b.keys.end()) return &b;
    }
    return nullptr;
}

const Binding* bindingOf(const Keymap& keymap, Scope scope, const std::string& display) {
    for (const Binding& b : keymap.bindings()) {
        if (b.scope == scope && b.display == display) return &b;
    }
    return nullptr;
}

TEST(Keymap, DefaultsAreSixTablesInOrder) {
    const auto& bindings = Keymap::standard().bindings();
    ASSERT_EQ(bindings.size(), 75u);
    std::vector<std::pair<Scope, int>> runs;
    for (const Binding& b : bindings) {
        if (runs.empty() || runs.back().first != b.scope) runs.push_back({b.scope, 0});
        ++runs.back().second;
    }
    const std::vector<std::pair<Scope, int>> expected = {{Scope::global, 19},      {Scope::files, 12},
                                                         {Scope::diff, 20},        {Scope::historyDiff, 13},
                                                         {Scope::historyList, 7}, {Scope::historyFiles, 4}};
    EXPECT_EQ(runs, expected);

    std::vector<std::string> globalDisplays;
    for (int i = 0; i < 19; ++i) globalDisplays.push_back(bindings[static_cast<std::size_t>(i)].display);
    EXPECT_EQ(globalDisplays, (std::vector<std::string>{"1", "2", "Tab", "⇧Tab", "s", "⌃P", "⌃S", "⌃R", "⌃B", "n", "u",
                                                         "c", "r", "o", "v", "|", "y", "?", "q"}));
    std::vector<std::string> hinted;
    for (const Binding& b : bindings) {
        if (b.hint) hinted.push_back(std::string(scopeName(b.scope)) + " " + b.display);
    }
    EXPECT_EQ(hinted, (std::vector<std::string>{"global Tab", "global s", "global ⌃P", "global c", "global ?",
                                                "files Space", "diff Space", "diff x"}));
    EXPECT_EQ(bindings[17].help, core::Text::command(AppCommand::help));
    EXPECT_EQ(bindings[2].help, core::Text::keyHelp(core::KeyHelpItem::switchPane));
}

TEST(Keymap, ResolveByFocusThenGlobal) {
    struct Case {
        const char* name;
        WorkspaceFocus focus;
        KeyEvent event;
        std::optional<Actions> expected;
    };
    const Case cases[] = {
        {"files down", WorkspaceFocus::files, ch("j"), Actions{WorkspaceAction::MoveFileSelection{1}}},
        {"files space", WorkspaceFocus::files, ch(" "), Actions{WorkspaceAction::ToggleInclude{"a.txt"}}},
        {"summary uses the files scope", WorkspaceFocus::summary, key(KeyCode::enter()),
         Actions{WorkspaceAction::Focus{WorkspaceFocus::diff}}},
        {"diff a toggles the file", WorkspaceFocus::diff, ch("a"), Actions{WorkspaceAction::ToggleInclude{"a.txt"}}},
        {"diff space toggles the line", WorkspaceFocus::diff, ch(" "), Actions{WorkspaceAction::ToggleCursorLine{}}},
        {"diff s falls through to sync", WorkspaceFocus::diff, ch("s"), Actions{command(AppCommand::sync)}},
        {"diff escape", WorkspaceFocus::diff, key(KeyCode::escape()), Actions{WorkspaceAction::Focus{WorkspaceFocus::files}}},
        {"diff home", WorkspaceFocus::diff, ch("g"), Actions{WorkspaceAction::MoveDiffCursorTo{0}}},
        {"diff end", WorkspaceFocus::diff, key(KeyCode::end()), Actions{WorkspaceAction::MoveDiffCursor{1000000}}},
        {"diff m without conflict", WorkspaceFocus::diff, ch("m"), Actions{}},
        {"history diff home", WorkspaceFocus::historyDiff, key(KeyCode::home()),
         Actions{WorkspaceAction::Scroll{Pane::historyDiff, -1000000}}},
        {"history diff down scrolls", WorkspaceFocus::historyDiff, ch("j"),
         Actions{WorkspaceAction::Scroll{Pane::historyDiff, 1}}},
        {"history diff escape", WorkspaceFocus::historyDiff, key(KeyCode::escape()),
         Actions{WorkspaceAction::Focus{WorkspaceFocus::historyFiles}}},
        {"history files left", WorkspaceFocus::historyFiles, key(KeyCode::left()),
         Actions{WorkspaceAction::Focus{WorkspaceFocus::historyList}}},
        {"history list enter", WorkspaceFocus::historyList, key(KeyCode::right()),
         Actions{WorkspaceAction::Focus{WorkspaceFocus::historyFiles}}},
        {"ctrl enter commits", WorkspaceFocus::files, key(KeyCode::enter(), Modifiers::control),
         Actions{command(AppCommand::commit)}},
        {"back tab", WorkspaceFocus::files, key(KeyCode::backTab(), Modifiers::shift),
         Actions{WorkspaceAction::CycleFocus{true}}},
        {"F5", WorkspaceFocus::historyList, key(KeyCode::function(5)), Actions{command(AppCommand::refresh)}},
        {"y copies the path on the Changes tab", WorkspaceFocus::files, ch("y"), Actions{command(AppCommand::copyPath)}},
        {"unbound", WorkspaceFocus::files, ch("z"), std::nullopt},
        {"j with alt is another key", WorkspaceFocus::files, ch("j", Modifiers::alt), std::nullopt},
    };
    const Keymap keymap{Keymap::Overrides{}};
    for (const Case& c : cases) {
        const AppState state = changesState(c.focus);
        EXPECT_EQ(Keymap::standard().resolve(c.event, state), c.expected) << c.name;
        EXPECT_EQ(keymap.resolve(c.event, state), c.expected) << c.name;
    }
}

TEST(Keymap, WithoutWorkspaceOnlyGlobalKeysCount) {
    const AppState state;
    EXPECT_EQ(Keymap::standard().resolve(ch("j"), state), std::nullopt);
    EXPECT_EQ(Keymap::standard().resolve(ch("q"), state), (Actions{command(AppCommand::quit)}));
    EXPECT_EQ(Keymap::standard().resolve(ch(":"), state), (Actions{command(AppCommand::commandPalette)}));
    // Space needs a workspace with a selected file; the key is still consumed.
    EXPECT_EQ(Keymap::standard().bindings()[25].action(state), Actions{});
}

TEST(Keymap, YCopiesTheShaOnTheHistoryTab) {
    AppState state = changesState(WorkspaceFocus::historyList);
    state.workspace->tab = features::WorkspaceTab::history;
    EXPECT_EQ(Keymap::standard().resolve(ch("y"), state), (Actions{command(AppCommand::copySHA)}));
    EXPECT_EQ(Keymap::standard().shortcut(AppCommand::copyPath), "y");
    EXPECT_EQ(Keymap::standard().shortcut(AppCommand::copySHA), std::nullopt);
}

TEST(Keymap, ConflictKeysInTheChangesDiff) {
    struct Case {
        const char* name;
        bool unresolved;
        KeyEvent event;
        Actions expected;
    };
    const Case cases[] = {
        {"keep current", true, ch("m"), {WorkspaceAction::ChooseConflict{0, core::ConflictChoice::current}}},
        {"keep incoming", true, ch("t"), {WorkspaceAction::ChooseConflict{0, core::ConflictChoice::incoming}}},
        {"keep both", true, ch("b"), {WorkspaceAction::ChooseConflict{0, core::ConflictChoice::both}}},
        {"next conflict", true, ch("]"), {WorkspaceAction::MoveConflictCursor{1}}},
        {"previous conflict", true, ch("["), {WorkspaceAction::MoveConflictCursor{-1}}},
        // Enter is consumed by the diff binding while a conflict remains.
        {"enter while conflicts remain", true, key(KeyCode::enter()), {}},
        {"enter once resolved", false, key(KeyCode::enter()), {WorkspaceAction::MarkResolved{"c.txt"}}},
        {"m once resolved", false, ch("m"), {}},
    };
    for (const Case& c : cases) {
        AppState state = changesState(WorkspaceFocus::diff);
        fixtures::showConflict(*state.workspace, "c.txt", c.unresolved);
        EXPECT_EQ(Keymap::standard().resolve(c.event, state), std::optional<Actions>(c.expected)) << c.name;
    }
}

TEST(Keymap, PageMovesUseTheListSizes) {
    struct Case {
        WorkspaceFocus focus;
        std::int64_t rows;
        KeyEvent event;
        Actions expected;
    };
    const Case cases[] = {
        {WorkspaceFocus::files, 0, key(KeyCode::pageDown()), {WorkspaceAction::MoveFileSelection{1}}},
        {WorkspaceFocus::files, 1, key(KeyCode::pageUp()), {WorkspaceAction::MoveFileSelection{-1}}},
        {WorkspaceFocus::files, 2, key(KeyCode::pageDown()), {WorkspaceAction::MoveFileSelection{1}}},
        {WorkspaceFocus::files, 12, key(KeyCode::pageDown()), {WorkspaceAction::MoveFileSelection{11}}},
        {WorkspaceFocus::historyList, 9, key(KeyCode::pageUp()), {WorkspaceAction::MoveCommitSelection{-8}}},
        {WorkspaceFocus::diff, 20, key(KeyCode::pageUp()), {WorkspaceAction::MoveDiffCursor{-19}}},
        {WorkspaceFocus::diff, 21, ch("d", Modifiers::control), {WorkspaceAction::MoveDiffCursor{10}}},
        {WorkspaceFocus::diff, 1, ch("u", Modifiers::control), {WorkspaceAction::MoveDiffCursor{-1}}},
        {WorkspaceFocus::historyDiff, 2, ch("d", Modifiers::control), {WorkspaceAction::Scroll{Pane::historyDiff, 1}}},
        {WorkspaceFocus::historyDiff, 30, key(KeyCode::pageDown()), {WorkspaceAction::Scroll{Pane::historyDiff, 29}}},
    };
    for (const Case& c : cases) {
        AppState state = changesState(c.focus);
        state.viewports.fileList = state.viewports.historyList = state.viewports.diff = c.rows;
        EXPECT_EQ(Keymap::standard().resolve(c.event, state), std::optional<Actions>(c.expected)) << c.rows;
    }
}

TEST(Keymap, HunkJump) {
    // Three hunks of 4 rows: headers at rows 0, 4 and 8.
    struct Case {
        const char* name;
        Pane pane;
        std::int64_t position;
        bool forward;
        Actions expected;
    };
    const Case cases[] = {
        {"next from inside the first", Pane::diff, 2, true, {WorkspaceAction::MoveDiffCursorTo{4}}},
        {"next from a header", Pane::diff, 4, true, {WorkspaceAction::MoveDiffCursorTo{8}}},
        {"none after the last", Pane::diff, 8, true, {}},
        {"previous from a header", Pane::diff, 4, false, {WorkspaceAction::MoveDiffCursorTo{0}}},
        {"previous from inside", Pane::diff, 6, false, {WorkspaceAction::MoveDiffCursorTo{4}}},
        {"none before the first", Pane::diff, 0, false, {}},
        {"history scrolls the hunk to the top", Pane::historyDiff, 1, true,
         {WorkspaceAction::Scroll{Pane::historyDiff, 3}}},
        {"history back", Pane::historyDiff, 9, false, {WorkspaceAction::Scroll{Pane::historyDiff, -1}}},
        {"history past the last start", Pane::historyDiff, 9, true, {}},
    };
    for (const Case& c : cases) {
        AppState state = changesState(WorkspaceFocus::diff);
        auto& view = c.pane == Pane::diff ? state.workspace->changes.diff : state.workspace->history.diff;
        view.setDiff(fixtures::diff(3, 1));
        ASSERT_EQ(view.hunkStarts(), (std::vector<std::int64_t>{0, 4, 8}));
        (c.pane == Pane::diff ? view.cursor : view.offset) = c.position;
        EXPECT_EQ(Keymap::jump(state, c.pane, c.forward), c.expected) << c.name;
    }
    AppState state = changesState(WorkspaceFocus::diff);
    EXPECT_EQ(Keymap::jump(state, Pane::diff, true), Actions{}) << "no diff loaded";
    EXPECT_EQ(Keymap::jump(AppState{}, Pane::diff, true), Actions{}) << "no workspace";
    fixtures::showConflict(*state.workspace, "c.txt", false);
    EXPECT_EQ(Keymap::jump(state, Pane::diff, false), (Actions{WorkspaceAction::MoveConflictCursor{-1}}));
}

TEST(Keymap, OverridesRebindCommandsAndTakeTheirChordsFromOthers) {
    const Keymap commitOnCtrlS(Keymap::Overrides{{AppCommand::commit, {chord("ctrl+s")}}});
    const Binding* commit = bindingOf(commitOnCtrlS, Scope::global, "⌃S");
    ASSERT_NE(commit, nullptr);
    EXPECT_EQ(commit->keys, (std::vector<KeyEvent>{ch("s", Modifiers::control)}));
    EXPECT_EQ(commitOnCtrlS.bindings().size(), 75u);

    // "j" claimed: every down binding keeps only the arrow, and its label.
    const Keymap jClaimed(Keymap::Overrides{{AppCommand::fetch, {chord("j")}}});
    for (Scope scope : {Scope::files, Scope::diff, Scope::historyDiff, Scope::historyList, Scope::historyFiles}) {
        const Binding* down = bindingFor(jClaimed, scope, key(KeyCode::down()));
        ASSERT_NE(down, nullptr);
        EXPECT_EQ(down->keys, (std::vector<KeyEvent>{key(KeyCode::down())})) << scopeName(scope);
        EXPECT_EQ(down->display, "↓");
    }
    EXPECT_EQ(jClaimed.bindings().size(), 76u);
    EXPECT_EQ(jClaimed.bindings().back().command, AppCommand::fetch);
    EXPECT_EQ(jClaimed.bindings().back().scope, Scope::global);
    EXPECT_EQ(jClaimed.shortcut(AppCommand::fetch), "j");
    // Where the palette would not offer the command the key does nothing,
    // but it is consumed: no other binding sees it.
    AppState noRepository;
    EXPECT_EQ(jClaimed.resolve(ch("j"), noRepository), Actions{});
    // Where it would, the key runs the command.
    EXPECT_EQ(jClaimed.resolve(ch("j"), changesState(WorkspaceFocus::files)), (Actions{command(AppCommand::fetch)}));

    // An empty list unbinds the command; every other binding stays.
    const Keymap noChanges(Keymap::Overrides{{AppCommand::showChanges, {}}});
    EXPECT_EQ(noChanges.bindings().size(), 74u);
    EXPECT_EQ(noChanges.shortcut(AppCommand::showChanges), std::nullopt);
    EXPECT_EQ(noChanges.resolve(ch("1"), changesState(WorkspaceFocus::files)), std::nullopt);
    EXPECT_EQ(noChanges.shortcut(AppCommand::showHistory), "2");

    const Keymap refreshOnR(Keymap::Overrides{{AppCommand::refresh, {chord("R")}}});
    EXPECT_EQ(refreshOnR.shortcut(AppCommand::refresh), "R");
    EXPECT_EQ(refreshOnR.resolve(key(KeyCode::function(5)), changesState(WorkspaceFocus::files)), std::nullopt);
    EXPECT_EQ(refreshOnR.resolve(ch("r"), changesState(WorkspaceFocus::files)), std::nullopt);

    // Taking "s" for quit leaves sync without a key: it disappears.
    const Keymap quitOnS(Keymap::Overrides{{AppCommand::quit, {chord("s")}}});
    EXPECT_EQ(quitOnS.shortcut(AppCommand::sync), std::nullopt);
    EXPECT_EQ(quitOnS.resolve(ch("s"), changesState(WorkspaceFocus::files)), (Actions{command(AppCommand::quit)}));

    // Claiming F5 for another command leaves refresh its "r".
    const Keymap f5Claimed(Keymap::Overrides{{AppCommand::help, {chord("F5")}}});
    EXPECT_EQ(f5Claimed.shortcut(AppCommand::refresh), "r");
    EXPECT_EQ(f5Claimed.shortcut(AppCommand::help), core::KeyChordParser::display(chord("F5")));
    EXPECT_EQ(f5Claimed.resolve(key(KeyCode::function(5)), changesState(WorkspaceFocus::files)),
              (Actions{command(AppCommand::help)}));
}

TEST(Keymap, TriggersAndShortcuts) {
    const Keymap& keymap = Keymap::standard();
    EXPECT_TRUE(keymap.triggers(AppCommand::commandPalette, ch("p", Modifiers::control)));
    EXPECT_TRUE(keymap.triggers(AppCommand::commandPalette, ch(":")));
    EXPECT_FALSE(keymap.triggers(AppCommand::commandPalette, ch("p")));
    EXPECT_FALSE(keymap.triggers(AppCommand::sync, ch("j")));
    const auto shortcuts = keymap.commandShortcuts();
    ASSERT_EQ(shortcuts.size(), core::appCommandCount);
    EXPECT_EQ(shortcuts[0], (Keymap::CommandShortcut{AppCommand::showChanges, "1"}));
    EXPECT_EQ(shortcuts[6], (Keymap::CommandShortcut{AppCommand::fetch, std::nullopt}));
    EXPECT_EQ(std::count_if(shortcuts.begin(), shortcuts.end(), [](const auto& s) { return s.shortcut.has_value(); }),
              20);
    EXPECT_EQ(KeymapDiagnostics::shortcut(AppCommand::toggleSplitDiff), "|");
}

TEST(Keymap, NoDuplicateKeysInTheDefaults) { EXPECT_EQ(KeymapDiagnostics::duplicateKeys(), std::vector<std::string>{}); }

TEST(Keymap, Hints) {
    using H = Keymap::Hint;
    const auto hint = [](const char* keys, HintItem item) { return H{keys, core::Text::hint(item)}; };
    struct Case {
        const char* name;
        AppState state;
        std::vector<H> expected;
    };
    AppState filter = changesState(WorkspaceFocus::files);
    filter.workspace->changes.isFilterFocused = true;
    AppState overlay = changesState(WorkspaceFocus::files);
    overlay.overlay = features::Overlay{features::Overlay::Message{core::Text::raw("t"), core::Text::raw("b"), {}}};
    AppState help = changesState(WorkspaceFocus::files);
    help.overlay = features::Overlay{features::Overlay::Help{}};
    AppState conflict = changesState(WorkspaceFocus::diff);
    fixtures::showConflict(*conflict.workspace, "c.txt", true);
    AppState resolved = changesState(WorkspaceFocus::diff);
    fixtures::showConflict(*resolved.workspace, "c.txt", false);
    const Case cases[] = {
        {"overlay", overlay, {hint("Esc", HintItem::close), hint("⏎", HintItem::confirm)}},
        // The help confirms nothing.
        {"help", help, {hint("Esc", HintItem::close), hint("↑↓", HintItem::scroll)}},
        {"no workspace", AppState{}, {hint("⌃R", HintItem::repos), hint("⌃P", HintItem::palette), hint("q", HintItem::quit)}},
        {"filter", filter, {hint("Esc", HintItem::back), hint("⏎", HintItem::back)}},
        {"files", changesState(WorkspaceFocus::files),
         {hint("Tab", HintItem::panel), hint("Space", HintItem::include), hint("c", HintItem::write),
          hint("s", HintItem::sync), hint("/", HintItem::filter), hint("⌃P", HintItem::palette),
          hint("?", HintItem::help)}},
        {"conflict", conflict,
         {hint("m", HintItem::keepCurrent), hint("t", HintItem::keepIncoming), hint("b", HintItem::keepBoth),
          hint("[ ]", HintItem::hunk), hint("Esc", HintItem::back), hint("⌃P", HintItem::palette),
          hint("?", HintItem::help)}},
        {"resolved", resolved,
         {hint("⏎", HintItem::resolved), hint("Esc", HintItem::back), hint("⌃P", HintItem::palette),
          hint("?", HintItem::help)}},
        {"diff", changesState(WorkspaceFocus::diff),
         {hint("↑↓", HintItem::move), hint("Space", HintItem::include), hint("x", HintItem::hunk),
          hint("Esc", HintItem::back), hint("Tab", HintItem::panel), hint("⌃P", HintItem::palette),
          hint("?", HintItem::help)}},
        {"summary", changesState(WorkspaceFocus::description),
         {hint("⌃S", HintItem::commit), hint("Tab", HintItem::panel), hint("Esc", HintItem::back)}},
        {"history files", changesState(WorkspaceFocus::historyFiles),
         {hint("↑↓", HintItem::move), hint("⏎", HintItem::open), hint("y", HintItem::copySHA),
          hint("Tab", HintItem::panel), hint("⌃P", HintItem::palette), hint("?", HintItem::help)}},
        {"history diff", changesState(WorkspaceFocus::historyDiff),
         {hint("↑↓", HintItem::scroll), hint("[ ]", HintItem::hunk), hint("Esc", HintItem::back),
          hint("Tab", HintItem::panel), hint("⌃P", HintItem::palette), hint("?", HintItem::help)}},
    };
    for (const Case& c : cases) EXPECT_EQ(Keymap::standard().hints(c.state), c.expected) << c.name;

    // Shortcut texts follow the overrides; an unbound command's hint goes.
    const Keymap keymap(Keymap::Overrides{{AppCommand::commandPalette, {}}, {AppCommand::help, {chord("ctrl+h")}}});
    const auto hints = keymap.hints(changesState(WorkspaceFocus::historyDiff));
    ASSERT_EQ(hints.size(), 5u);
    EXPECT_EQ(hints.back(), (H{core::KeyChordParser::display(chord("ctrl+h")), core::Text::hint(HintItem::help)}));
}

TEST(Keymap, KeyEventOfAChord) {
    struct Case {
        KeyChord chord;
        KeyEvent event;
    };
    using Key = KeyChord::Key;
    const Case cases[] = {
        {KeyChord(Key::character("x")), ch("x")},
        {KeyChord(Key::character("x"), true, true), ch("x", Modifiers{Modifiers::control, Modifiers::alt})},
        {KeyChord(Key::function(5)), key(KeyCode::function(5))},
        {KeyChord(Key(Key::Space{})), ch(" ")},
        {KeyChord(Key(Key::Enter{}), true), key(KeyCode::enter(), Modifiers::control)},
        {KeyChord(Key(Key::Delete{})), key(KeyCode::deleteKey())},
        {KeyChord(Key(Key::PageDown{}), false, true), key(KeyCode::pageDown(), Modifiers::alt)},
    };
    for (const Case& c : cases) EXPECT_EQ(keyEvent(c.chord), c.event);
}

}  // namespace
}  // namespace tarv::ui
