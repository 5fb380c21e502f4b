#include "TarvUI/Components/ToolbarView.hpp"

#include <algorithm>
#include <string>

#include "TarvCore/Rules/SyncButtonRules.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"

namespace tarv::ui::ToolbarView {

using core::AppCommand;
using features::AppAction;
using features::Overlay;
using terminal::Point;
using terminal::Rect;
using terminal::Style;

namespace {

constexpr std::string_view chevronUp = "\u25B4";    // ▴
constexpr std::string_view chevronDown = "\u25BE";  // ▾

bool overlayIs(const features::AppState& state, Overlay::Kind kind) {
    return state.overlay && state.overlay->kind() == kind;
}

// "▫" without a registered hosted copy, "◆" private, "◇" public or unknown.
std::string_view visibilityGlyph(const features::AppState& state, const features::WorkspaceState& ws) {
    const auto entry = std::find_if(state.repositories.begin(), state.repositories.end(),
                                    [&](const core::RepositoryEntry& e) { return e.path == ws.path; });
    if (entry == state.repositories.end() || !entry->remoteURL) return "\u25AB";
    return entry->isPrivate == true ? "\u25C6" : "\u25C7";
}

std::string_view syncIcon(core::SyncAction action) {
    switch (action) {
        case core::SyncAction::fetch: return "\u27F3";  // ⟳
        case core::SyncAction::pull: return "\u2193";   // ↓
        case core::SyncAction::push:
        case core::SyncAction::publishBranch:
        case core::SyncAction::publishRepository: return "\u2191";  // ↑
    }
    return "\u27F3";
}

core::Text activityText(features::SyncState::Activity activity) {
    switch (activity) {
        case features::SyncState::Activity::fetching: return core::Text::syncFetching();
        case features::SyncState::Activity::pulling: return core::Text::syncPulling();
        case features::SyncState::Activity::pushing: return core::Text::syncPushing();
    }
    return core::Text::syncFetching();
}

// A button's common frame: highlight while its picker is open, its click
// target, the label on the first row and the chevron on the second.
void drawButtonFrame(UIFrame& frame, const Rect& segment, bool isOpen, AppCommand command, const core::Text& label) {
    const ThemeStyles& s = frame.styles;
    if (isOpen) frame.canvas.fill(segment, s.selectedFocused);
    frame.hits.add(segment, HitRegion::pressing(actions(AppAction::Command{command})));
    frame.canvas.draw(frame.text(label), Point{segment.minX() + 1, 0}, s.toolbarLabel, segment.size.width - 4);
    frame.canvas.draw(isOpen ? chevronUp : chevronDown, Point{segment.maxX() - 2, 1}, s.toolbarLabel);
}

void drawRepository(UIFrame& frame, const features::AppState& state, const features::WorkspaceState& ws,
                    const Rect& segment) {
    drawButtonFrame(frame, segment, overlayIs(state, Overlay::Kind::repositories), AppCommand::openRepositoryPicker,
                    core::Text::currentRepository());
    std::string value(visibilityGlyph(state, ws));
    value += ' ';
    value += ws.name;
    frame.canvas.draw(value, Point{segment.minX() + 1, 1}, frame.styles.toolbarValue, segment.size.width - 4);
}

void drawBranch(UIFrame& frame, const features::AppState& state, const features::WorkspaceState& ws,
                const Rect& segment) {
    const ThemeStyles& s = frame.styles;
    drawButtonFrame(frame, segment, overlayIs(state, Overlay::Kind::branches), AppCommand::openBranchPicker,
                    core::Text::currentBranch());
    const std::string value = "\u2387 " + (ws.isStatusLoaded ? ws.currentBranch() : std::string("\u2026"));
    const auto mark = ws.sync.checks ? checkMark(*ws.sync.checks, s, s.toolbarValue) : std::nullopt;
    frame.canvas.draw(value, Point{segment.minX() + 1, 1}, s.toolbarValue, segment.size.width - (mark ? 6 : 4));
    if (mark) {
        const std::int64_t x =
            std::min(segment.minX() + 2 + terminal::DisplayWidth::width(value), segment.maxX() - 4);
        frame.canvas.draw(mark->glyph, Point{x, 1}, mark->style);
    }
}

void drawSync(UIFrame& frame, const features::AppState& state, const features::WorkspaceState& ws,
              const Rect& segment) {
    if (segment.size.width <= 6) return;
    // Before the first status the upstream is unknown: the button would offer
    // to publish a branch that may well have one, so it waits, blank.
    if (!ws.isStatusLoaded && !ws.sync.activity) return;
    const ThemeStyles& s = frame.styles;
    frame.hits.add(segment, HitRegion::pressing(actions(AppAction::Command{AppCommand::sync})));
    const std::int64_t room = segment.size.width - 4;
    const Point first{segment.minX() + 3, 0};
    const Point second{segment.minX() + 3, 1};
    if (const auto activity = ws.sync.activity) {
        std::string frameText(spinnerFrame(frame.tick));
        frameText += ' ';
        frame.canvas.draw(frameText, Point{segment.minX() + 1, 0}, s.toolbarValue);
        frame.canvas.draw(frame.text(activityText(*activity)), first, s.toolbarValue, room);
        frame.canvas.draw(frame.text(core::Text::spinnerWorking()), second, s.toolbarLabel, room);
        return;
    }
    core::SyncContext context = ws.syncContext();
    context.now = state.now;
    const core::SyncButtonModel model = core::SyncButtonRules::model(context);
    frame.canvas.draw(syncIcon(model.action), Point{segment.minX() + 1, 0}, s.toolbarValue);
    // Cut between words, never inside one ("3 minutes a").
    frame.canvas.draw(terminal::TextTruncation::wholeWords(frame.text(model.title), room), first, s.toolbarValue, room);
    frame.canvas.draw(terminal::TextTruncation::wholeWords(frame.text(model.subtitle), room), second, s.toolbarLabel,
                      room);
}

}  // namespace

std::optional<CheckMark> checkMark(const core::CheckSummary& summary, const ThemeStyles& styles, const Style& base) {
    const Theme& t = styles.theme;
    switch (summary.state()) {
        case core::CheckSummary::State::none: return std::nullopt;
        case core::CheckSummary::State::pending: return CheckMark{"\u25CF", base.with(t.warning.color(), std::nullopt)};
        case core::CheckSummary::State::success: return CheckMark{"\u2713", base.with(t.success.color(), std::nullopt)};
        case core::CheckSummary::State::failure: return CheckMark{"\u2717", base.with(t.danger.color(), std::nullopt)};
    }
    return std::nullopt;
}

void draw(UIFrame& frame, const features::AppState& state, const features::WorkspaceState& workspace,
          const WorkspaceLayout& layout) {
    const ThemeStyles& s = frame.styles;
    const std::int64_t width = frame.canvas.bounds().size.width;
    frame.canvas.fill(Rect(0, 0, width, 2), s.toolbar);
    frame.canvas.horizontalLine(2, 0, width, s.border);
    const Style divider = s.border.with(std::nullopt, s.theme.surfaceRaised.color());
    for (std::size_t i = 0; i + 1 < layout.segments.size(); ++i) {
        frame.canvas.verticalLine(layout.segments[i].maxX(), 0, 2, divider);
    }
    if (layout.segments.size() < 3) return;
    drawRepository(frame, state, workspace, layout.segments[0]);
    drawBranch(frame, state, workspace, layout.segments[1]);
    drawSync(frame, state, workspace, layout.segments[2]);
}

}  // namespace tarv::ui::ToolbarView
