#include "TarvUI/Screens/WelcomeScreen.hpp"

#include <algorithm>
#include <string>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Components/PopoverView.hpp"
#include "TarvUI/Components/RepositoryGlyph.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui::WelcomeScreen {

using core::AppCommand;
using features::AppAction;
using terminal::Point;
using terminal::Rect;

namespace {

constexpr std::int64_t maximumRecents = 8;

struct ActionRow {
    core::Text label;
    AppCommand command;
    std::string_view fallbackShortcut;
};

void actions(UIFrame& frame, const Rect& c) {
    const ThemeStyles& s = frame.styles;
    const ActionRow rows[] = {{core::Text::welcomeAdd(), AppCommand::addRepository, "\u2303O"},
                              {core::Text::welcomeCreate(), AppCommand::createRepository, "n"},
                              {core::Text::welcomeClone(), AppCommand::cloneRepository, "\u2303N"}};
    std::int64_t y = c.minY() + 2;
    for (const auto& row : rows) {
        const Rect rect(c.minX(), y, c.size.width, 1);
        frame.canvas.draw("\u25B8 ", rect.origin, s.popover.with(s.theme.accent.color(), std::nullopt));
        frame.canvas.draw(frame.text(row.label), Point{c.minX() + 2, y}, s.popover, c.size.width - 12);
        const std::string shortcut = frame.keymap.shortcut(row.command).value_or(std::string(row.fallbackShortcut));
        frame.canvas.drawRightAligned(shortcut, rect.maxX(), y, s.popoverDim);
        frame.hits.add(rect, HitRegion::pressing({AppAction(AppAction::Command{row.command})}));
        ++y;
    }
}

// The most recently opened first; equal times keep the registry's order.
std::vector<const core::RepositoryEntry*> recentFirst(const std::vector<core::RepositoryEntry>& repositories) {
    std::vector<const core::RepositoryEntry*> ordered;
    for (const auto& entry : repositories) ordered.push_back(&entry);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto* a, const auto* b) { return a->lastOpened > b->lastOpened; });
    if (ordered.size() > static_cast<std::size_t>(maximumRecents)) ordered.resize(maximumRecents);
    return ordered;
}

// The rows stop above the footer, however short the screen.
void recents(UIFrame& frame, const std::vector<const core::RepositoryEntry*>& entries, const Rect& c) {
    const ThemeStyles& s = frame.styles;
    frame.canvas.draw(frame.text(core::Text::recents()), Point{c.minX(), c.minY() + 6},
                      s.popover.with(std::nullopt, std::nullopt, terminal::Attributes{terminal::Attributes::bold}));
    std::int64_t y = c.minY() + 7;
    for (const auto* entry : entries) {
        if (y >= c.maxY() - 1) break;
        const Rect rect(c.minX(), y, c.size.width, 1);
        frame.canvas.draw(std::string(repositoryGlyph(*entry)) + " " + entry->name, rect.origin, s.popover, 24);
        frame.canvas.draw(terminal::TextTruncation::middle(entry->path, std::max<std::int64_t>(c.size.width - 27, 1),
                                                           std::nullopt),
                          Point{c.minX() + 26, y}, s.popoverDim);
        frame.hits.add(rect, HitRegion::pressing({AppAction(AppAction::OpenRepository{entry->path})}));
        ++y;
    }
}

}  // namespace

void draw(UIFrame& frame, const features::AppState& state) {
    const terminal::Size screen = frame.canvas.bounds().size;
    const auto entries = recentFirst(state.repositories);
    const auto shown = static_cast<std::int64_t>(entries.size());
    const std::int64_t w = std::min<std::int64_t>(screen.width - 2, 68);
    const std::int64_t h = std::min<std::int64_t>(screen.height - 2, state.repositories.empty() ? 12 : shown + 14);
    const Rect box(std::max<std::int64_t>((screen.width - w) / 2, 0), std::max<std::int64_t>((screen.height - h) / 2, 0),
                   w, h);
    const Rect c = PopoverView::draw(frame, box, "Tarv");
    frame.canvas.draw(frame.text(core::Text::welcomeIntro()), c.origin, frame.styles.popoverDim, c.size.width);
    actions(frame, c);
    if (!entries.empty()) recents(frame, entries, c);
    const std::string footer = "\u2303R " + frame.text(core::Text::command(AppCommand::openRepositoryPicker)) +
                               "  \u00B7  \u2303P " + frame.text(core::Text::command(AppCommand::commandPalette)) +
                               "  \u00B7  q " + frame.text(core::Text::command(AppCommand::quit));
    frame.canvas.draw(footer, Point{c.minX(), c.maxY() - 1}, frame.styles.popoverDim, c.size.width);
}

}  // namespace tarv::ui::WelcomeScreen
