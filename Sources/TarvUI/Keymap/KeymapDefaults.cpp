#include "TarvUI/Keymap/KeymapDefaults.hpp"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui::KeymapDefaults {

using core::AppCommand;
using core::KeyHelpItem;
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

namespace {

// Moves to the first or last entry are this many rows; the reducer clamps.
constexpr std::int64_t toEnd = 1000000;

KeyEvent ch(std::string text, Modifiers modifiers = {}) { return KeyEvent::character(std::move(text), modifiers); }
KeyEvent key(KeyCode code, Modifiers modifiers = {}) { return KeyEvent{std::move(code), modifiers}; }

Binding navigation(Scope scope, std::vector<KeyEvent> keys, std::string display, KeyHelpItem help,
                   Binding::Action action, bool hint = false) {
    return Binding{scope, std::move(keys), std::move(display), core::Text::keyHelp(help), std::nullopt, hint,
                   std::move(action)};
}

// An action that always sends the same one workspace action.
template <class Case>
Binding::Action send(Case action) {
    return [action](const AppState&) { return Actions{AppAction(action)}; };
}

std::int64_t page(std::int64_t rows) { return std::max<std::int64_t>(rows - 1, 1); }

const features::WorkspaceState* workspace(const AppState& state) {
    return state.workspace ? &*state.workspace : nullptr;
}

// The active conflict of the Changes tab, filtered by whether it still has
// conflict blocks.
const core::ConflictDocument* activeConflict(const AppState& state) {
    const auto* ws = workspace(state);
    return ws ? ws->changes.activeConflict(ws->status) : nullptr;
}

Binding::Action chooseConflict(core::ConflictChoice choice) {
    return [choice](const AppState& state) {
        const auto* document = activeConflict(state);
        if (!document || !document->hasConflicts()) return Actions{};
        return Actions{AppAction(WorkspaceAction::ChooseConflict{state.workspace->changes.conflictCursor, choice})};
    };
}

}  // namespace

Binding commandBinding(Scope scope, AppCommand command, std::vector<KeyEvent> keys, std::string display, bool hint) {
    return Binding{scope,   std::move(keys), std::move(display), core::Text::command(command), command, hint,
                   [command](const AppState&) { return Actions{AppAction(AppAction::Command{command})}; }};
}

std::vector<Binding> global() {
    const Scope g = Scope::global;
    const Modifiers ctrl = Modifiers::control;
    std::vector<Binding> table;
    table.reserve(19);
    table.push_back(commandBinding(g, AppCommand::showChanges, {ch("1")}, "1"));
    table.push_back(commandBinding(g, AppCommand::showHistory, {ch("2")}, "2"));
    table.push_back(navigation(g, {key(KeyCode::tab())}, "Tab", KeyHelpItem::switchPane,
                               send(WorkspaceAction::CycleFocus{false}), true));
    table.push_back(navigation(g, {key(KeyCode::backTab(), Modifiers::shift)}, "\u21E7Tab", KeyHelpItem::switchPane,
                               send(WorkspaceAction::CycleFocus{true})));
    table.push_back(commandBinding(g, AppCommand::sync, {ch("s")}, "s", true));
    table.push_back(commandBinding(g, AppCommand::commandPalette, {ch("p", ctrl), ch(":")}, "\u2303P", true));
    table.push_back(commandBinding(g, AppCommand::commit, {ch("s", ctrl), key(KeyCode::enter(), ctrl)}, "\u2303S"));
    table.push_back(commandBinding(g, AppCommand::openRepositoryPicker, {ch("r", ctrl)}, "\u2303R"));
    table.push_back(commandBinding(g, AppCommand::openBranchPicker, {ch("b", ctrl)}, "\u2303B"));
    table.push_back(commandBinding(g, AppCommand::newBranch, {ch("n")}, "n"));
    table.push_back(commandBinding(g, AppCommand::undo, {ch("u")}, "u"));
    table.push_back(commandBinding(g, AppCommand::focusSummary, {ch("c")}, "c", true));
    table.push_back(commandBinding(g, AppCommand::refresh, {ch("r"), key(KeyCode::function(5))}, "r"));
    table.push_back(commandBinding(g, AppCommand::openInEditor, {ch("o")}, "o"));
    table.push_back(commandBinding(g, AppCommand::openInVim, {ch("v")}, "v"));
    table.push_back(commandBinding(g, AppCommand::toggleSplitDiff, {ch("|")}, "|"));
    Binding copy = commandBinding(g, AppCommand::copyPath, {ch("y")}, "y");
    copy.action = [](const AppState& state) {
        const bool history = state.workspace && state.workspace->tab == features::WorkspaceTab::history;
        return Actions{AppAction(AppAction::Command{history ? AppCommand::copySHA : AppCommand::copyPath})};
    };
    table.push_back(std::move(copy));
    table.push_back(commandBinding(g, AppCommand::help, {ch("?"), key(KeyCode::function(1))}, "?", true));
    table.push_back(commandBinding(g, AppCommand::quit, {ch("q")}, "q"));
    return table;
}

std::vector<Binding> files() {
    const Scope f = Scope::files;
    const auto move = [](std::int64_t by) { return send(WorkspaceAction::MoveFileSelection{by}); };
    const auto pageBy = [](std::int64_t sign) {
        return [sign](const AppState& state) {
            return Actions{AppAction(WorkspaceAction::MoveFileSelection{sign * page(state.viewports.fileList)})};
        };
    };
    std::vector<Binding> table;
    table.reserve(12);
    table.push_back(navigation(f, {key(KeyCode::up()), ch("k")}, "\u2191\u2193", KeyHelpItem::moveInLists, move(-1)));
    table.push_back(navigation(f, {key(KeyCode::down()), ch("j")}, "\u2193", KeyHelpItem::moveInLists, move(1)));
    table.push_back(navigation(f, {key(KeyCode::pageUp())}, "PgUp", KeyHelpItem::moveInLists, pageBy(-1)));
    table.push_back(navigation(f, {key(KeyCode::pageDown())}, "PgDn", KeyHelpItem::moveInLists, pageBy(1)));
    table.push_back(navigation(f, {key(KeyCode::home()), ch("g")}, "Home", KeyHelpItem::moveInLists, move(-toEnd)));
    table.push_back(navigation(f, {key(KeyCode::end()), ch("G")}, "End", KeyHelpItem::moveInLists, move(toEnd)));
    table.push_back(navigation(f, {ch(" ")}, "Space", KeyHelpItem::includeFile, [](const AppState& state) {
        const auto* ws = workspace(state);
        if (!ws || !ws->changes.selectedPath) return Actions{};
        return Actions{AppAction(WorkspaceAction::ToggleInclude{*ws->changes.selectedPath})};
    }, true));
    table.push_back(commandBinding(f, AppCommand::toggleAllFiles, {ch("a")}, "a"));
    table.push_back(commandBinding(f, AppCommand::ignoreFile, {ch("i")}, "i"));
    table.push_back(commandBinding(f, AppCommand::discardSelected, {ch("d")}, "d"));
    table.push_back(navigation(f, {key(KeyCode::enter()), key(KeyCode::right())}, "\u23CE", KeyHelpItem::openDiffPane,
                               send(WorkspaceAction::Focus{WorkspaceFocus::diff})));
    table.push_back(navigation(f, {ch("/")}, "/", KeyHelpItem::filterFiles, send(WorkspaceAction::SetFilterFocused{true})));
    return table;
}

std::vector<Binding> historyList() {
    const Scope h = Scope::historyList;
    const auto move = [](std::int64_t by) { return send(WorkspaceAction::MoveCommitSelection{by}); };
    const auto pageBy = [](std::int64_t sign) {
        return [sign](const AppState& state) {
            return Actions{AppAction(WorkspaceAction::MoveCommitSelection{sign * page(state.viewports.historyList)})};
        };
    };
    std::vector<Binding> table;
    table.reserve(7);
    table.push_back(navigation(h, {key(KeyCode::up()), ch("k")}, "\u2191\u2193", KeyHelpItem::moveInLists, move(-1)));
    table.push_back(navigation(h, {key(KeyCode::down()), ch("j")}, "\u2193", KeyHelpItem::moveInLists, move(1)));
    table.push_back(navigation(h, {key(KeyCode::pageUp())}, "PgUp", KeyHelpItem::moveInLists, pageBy(-1)));
    table.push_back(navigation(h, {key(KeyCode::pageDown())}, "PgDn", KeyHelpItem::moveInLists, pageBy(1)));
    table.push_back(navigation(h, {key(KeyCode::home()), ch("g")}, "Home", KeyHelpItem::moveInLists, move(-toEnd)));
    table.push_back(navigation(h, {key(KeyCode::end()), ch("G")}, "End", KeyHelpItem::moveInLists, move(toEnd)));
    table.push_back(navigation(h, {key(KeyCode::enter()), key(KeyCode::right())}, "\u23CE", KeyHelpItem::openDiffPane,
                               send(WorkspaceAction::Focus{WorkspaceFocus::historyFiles})));
    return table;
}

std::vector<Binding> historyFiles() {
    const Scope h = Scope::historyFiles;
    std::vector<Binding> table;
    table.reserve(4);
    table.push_back(navigation(h, {key(KeyCode::up()), ch("k")}, "\u2191\u2193", KeyHelpItem::moveInLists,
                               send(WorkspaceAction::MoveCommitFileSelection{-1})));
    table.push_back(navigation(h, {key(KeyCode::down()), ch("j")}, "\u2193", KeyHelpItem::moveInLists,
                               send(WorkspaceAction::MoveCommitFileSelection{1})));
    table.push_back(navigation(h, {key(KeyCode::enter()), key(KeyCode::right())}, "\u23CE", KeyHelpItem::openDiffPane,
                               send(WorkspaceAction::Focus{WorkspaceFocus::historyDiff})));
    table.push_back(navigation(h, {key(KeyCode::left()), key(KeyCode::escape())}, "Esc", KeyHelpItem::backToList,
                               send(WorkspaceAction::Focus{WorkspaceFocus::historyList})));
    return table;
}

std::vector<Binding> diff(Scope scope) {
    const bool changes = scope == Scope::diff;
    const Pane pane = changes ? Pane::diff : Pane::historyDiff;
    const KeyHelpItem vertical = changes ? KeyHelpItem::moveInLists : KeyHelpItem::scrollDiff;
    const Modifiers ctrl = Modifiers::control;
    // The Changes diff moves its cursor; the History diff scrolls.
    const auto moveBy = [changes, pane](std::int64_t by) {
        return changes ? AppAction(WorkspaceAction::MoveDiffCursor{by}) : AppAction(WorkspaceAction::Scroll{pane, by});
    };
    const auto move = [moveBy](std::int64_t by) -> Binding::Action {
        return [moveBy, by](const AppState&) { return Actions{moveBy(by)}; };
    };
    const auto byHeight = [moveBy](std::int64_t (*rows)(std::int64_t), std::int64_t sign) -> Binding::Action {
        return [moveBy, rows, sign](const AppState& state) { return Actions{moveBy(sign * rows(state.viewports.diff))}; };
    };
    const auto halfPage = +[](std::int64_t height) { return height < 2 ? std::int64_t{1} : height / 2; };
    const auto fullPage = +[](std::int64_t height) { return page(height); };
    const auto jump = [pane](bool forward) -> Binding::Action {
        return [pane, forward](const AppState& state) { return Keymap::jump(state, pane, forward); };
    };
    const AppAction top = changes ? AppAction(WorkspaceAction::MoveDiffCursorTo{0})
                                  : AppAction(WorkspaceAction::Scroll{Pane::historyDiff, -toEnd});
    const WorkspaceFocus back = changes ? WorkspaceFocus::files : WorkspaceFocus::historyFiles;

    std::vector<Binding> table;
    table.reserve(changes ? 20 : 13);
    table.push_back(navigation(scope, {key(KeyCode::up()), ch("k")}, "\u2191\u2193", vertical, move(-1)));
    table.push_back(navigation(scope, {key(KeyCode::down()), ch("j")}, "\u2193", vertical, move(1)));
    table.push_back(navigation(scope, {key(KeyCode::pageUp())}, "PgUp", vertical, byHeight(fullPage, -1)));
    table.push_back(navigation(scope, {key(KeyCode::pageDown())}, "PgDn", vertical, byHeight(fullPage, 1)));
    table.push_back(navigation(scope, {ch("u", ctrl)}, "\u2303U", vertical, byHeight(halfPage, -1)));
    table.push_back(navigation(scope, {ch("d", ctrl)}, "\u2303D", vertical, byHeight(halfPage, 1)));
    table.push_back(navigation(scope, {key(KeyCode::home()), ch("g")}, "Home", KeyHelpItem::scrollDiff,
                               [top](const AppState&) { return Actions{top}; }));
    table.push_back(navigation(scope, {key(KeyCode::end()), ch("G")}, "End", vertical, move(toEnd)));
    table.push_back(navigation(scope, {key(KeyCode::left()), ch("h")}, "\u2190\u2192", KeyHelpItem::scrollDiff,
                               send(WorkspaceAction::ScrollDiffHorizontally{-4})));
    table.push_back(navigation(scope, {key(KeyCode::right()), ch("l")}, "\u2192", KeyHelpItem::scrollDiff,
                               send(WorkspaceAction::ScrollDiffHorizontally{4})));
    table.push_back(navigation(scope, {ch("]")}, "[ ]", KeyHelpItem::jumpHunk, jump(true)));
    table.push_back(navigation(scope, {ch("[")}, "[", KeyHelpItem::jumpHunk, jump(false)));
    table.push_back(navigation(scope, {key(KeyCode::escape())}, "Esc", KeyHelpItem::backToList,
                               send(WorkspaceAction::Focus{back})));
    if (!changes) return table;

    table.push_back(navigation(scope, {ch("m")}, "m", KeyHelpItem::keepCurrent, chooseConflict(core::ConflictChoice::current)));
    table.push_back(navigation(scope, {ch("t")}, "t", KeyHelpItem::keepIncoming, chooseConflict(core::ConflictChoice::incoming)));
    table.push_back(navigation(scope, {ch("b")}, "b", KeyHelpItem::keepBoth, chooseConflict(core::ConflictChoice::both)));
    table.push_back(navigation(scope, {key(KeyCode::enter())}, "\u23CE", KeyHelpItem::markFileResolved, [](const AppState& state) {
        const auto* document = activeConflict(state);
        const auto& path = state.workspace ? state.workspace->changes.selectedPath : std::nullopt;
        if (!document || document->hasConflicts() || !path) return Actions{};
        return Actions{AppAction(WorkspaceAction::MarkResolved{*path})};
    }));
    table.push_back(navigation(scope, {ch(" ")}, "Space", KeyHelpItem::toggleLineKey,
                               send(WorkspaceAction::ToggleCursorLine{}), true));
    table.push_back(navigation(scope, {ch("x")}, "x", KeyHelpItem::toggleHunk, send(WorkspaceAction::ToggleCursorHunk{}), true));
    table.push_back(navigation(scope, {ch("a")}, "a", KeyHelpItem::includeFile, [](const AppState& state) {
        const auto* ws = workspace(state);
        if (!ws || !ws->changes.selectedPath) return Actions{};
        return Actions{AppAction(WorkspaceAction::ToggleInclude{*ws->changes.selectedPath})};
    }));
    return table;
}

}  // namespace tarv::ui::KeymapDefaults
