#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui {

using core::AppCommand;
using core::HintItem;
using features::WorkspaceFocus;

namespace {

// Entries of the hint table: fixed keys, or the current shortcut of a
// command (left out when the command has no key).
struct Entry {
    std::optional<std::string> keys;
    HintItem label;
};

Entry fixed(std::string keys, HintItem label) { return Entry{std::move(keys), label}; }

std::vector<Entry> entries(const Keymap& keymap, const features::AppState& state) {
    const auto hint = [&](AppCommand command, HintItem label) { return Entry{keymap.shortcut(command), label}; };
    if (state.overlay) {
        // The help confirms nothing: it closes and scrolls.
        if (state.overlay->kind() == features::Overlay::Kind::help) {
            return {fixed("Esc", HintItem::close), fixed("\u2191\u2193", HintItem::scroll)};
        }
        return {fixed("Esc", HintItem::close), fixed("\u23CE", HintItem::confirm)};
    }
    if (!state.workspace) {
        return {fixed("\u2303R", HintItem::repos), fixed("\u2303P", HintItem::palette), fixed("q", HintItem::quit)};
    }
    const auto& ws = *state.workspace;
    const Entry palette = hint(AppCommand::commandPalette, HintItem::palette);
    const Entry help = hint(AppCommand::help, HintItem::help);
    switch (ws.focus) {
        case WorkspaceFocus::files:
            if (ws.changes.isFilterFocused) return {fixed("Esc", HintItem::back), fixed("\u23CE", HintItem::back)};
            return {fixed("Tab", HintItem::panel), fixed("Space", HintItem::include),
                    hint(AppCommand::focusSummary, HintItem::write), hint(AppCommand::sync, HintItem::sync),
                    fixed("/", HintItem::filter), palette, help};
        case WorkspaceFocus::diff:
            if (const auto* conflict = ws.changes.activeConflict(ws.status)) {
                if (conflict->hasConflicts()) {
                    return {fixed("m", HintItem::keepCurrent), fixed("t", HintItem::keepIncoming),
                            fixed("b", HintItem::keepBoth), fixed("[ ]", HintItem::hunk), fixed("Esc", HintItem::back),
                            palette, help};
                }
                return {fixed("\u23CE", HintItem::resolved), fixed("Esc", HintItem::back), palette, help};
            }
            return {fixed("\u2191\u2193", HintItem::move), fixed("Space", HintItem::include), fixed("x", HintItem::hunk),
                    fixed("Esc", HintItem::back), fixed("Tab", HintItem::panel), palette, help};
        case WorkspaceFocus::summary:
        case WorkspaceFocus::description:
            return {hint(AppCommand::commit, HintItem::commit), fixed("Tab", HintItem::panel),
                    fixed("Esc", HintItem::back)};
        case WorkspaceFocus::historyList:
        case WorkspaceFocus::historyFiles:
            return {fixed("\u2191\u2193", HintItem::move), fixed("\u23CE", HintItem::open),
                    hint(AppCommand::copyPath, HintItem::copySHA), fixed("Tab", HintItem::panel), palette, help};
        case WorkspaceFocus::historyDiff:
            return {fixed("\u2191\u2193", HintItem::scroll), fixed("[ ]", HintItem::hunk), fixed("Esc", HintItem::back),
                    fixed("Tab", HintItem::panel), palette, help};
    }
    return {};
}

}  // namespace

std::vector<Keymap::Hint> Keymap::hints(const features::AppState& state) const {
    std::vector<Hint> result;
    for (auto& entry : entries(*this, state)) {
        if (entry.keys) result.push_back(Hint{std::move(*entry.keys), core::Text::hint(entry.label)});
    }
    return result;
}

}  // namespace tarv::ui
