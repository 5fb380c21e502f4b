// The mouse half of the router: presses, double presses, context menus,
// gutter and text drags, releases and wheel ticks against the frame's hit
// regions.
#include <algorithm>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvUI/Components/DiffTextCopy.hpp"
#include "TarvUI/Routing/InputRouter.hpp"

namespace tarv::ui {

using features::AppAction;
using features::AppState;
using features::Pane;
using features::WorkspaceAction;
using terminal::MouseEvent;

namespace {

using Actions = std::vector<AppAction>;
using Hits = terminal::HitMap<HitRegion>;

// The topmost region at the point, its actions made; none when none.
std::optional<HitRegion> topmost(const Hits& hits, terminal::Point point) {
    const auto& regions = hits.regions();
    for (auto it = regions.rbegin(); it != regions.rend(); ++it) {
        if (it->rect.contains(point)) return it->value.resolved(point);
    }
    return std::nullopt;
}

// The topmost region at the point that offers what `offers` looks for.
template <class Offers>
std::optional<HitRegion> firstOffering(const Hits& hits, terminal::Point point, Offers offers) {
    const auto& regions = hits.regions();
    for (auto it = regions.rbegin(); it != regions.rend(); ++it) {
        if (!it->rect.contains(point)) continue;
        HitRegion region = it->value.resolved(point);
        if (offers(region)) return region;
    }
    return std::nullopt;
}

features::DiffTextPoint textPoint(const HitRegion::TextHit& hit, terminal::Point position) {
    return features::DiffTextPoint{hit.row, hit.side, std::max<std::int64_t>(position.x - hit.originX, 0) +
                                                          hit.startColumn};
}

// The diff of the workspace's current tab; null without a workspace.
const features::DiffViewState* currentDiff(const AppState& state) {
    if (!state.workspace) return nullptr;
    const auto& ws = *state.workspace;
    return ws.tab == features::WorkspaceTab::changes ? &ws.changes.diff : &ws.history.diff;
}

bool isDiffPane(Pane pane) { return pane == Pane::diff || pane == Pane::historyDiff; }

}  // namespace

std::vector<AppAction> InputRouter::routeMouse(const MouseEvent& event, const AppState& state,
                                               const RenderedFrame& frame, Clock::time_point now) {
    const auto& kind = event.kind.value;
    if (const auto* press = std::get_if<MouseEvent::Press>(&kind)) {
        if (press->button == MouseEvent::Button::left) return primaryPress(event, state, frame, now);
        if (press->button == MouseEvent::Button::middle) return {};
        const auto region =
            firstOffering(frame.hits, event.position, [](const HitRegion& r) { return r.context.has_value(); });
        if (!region) return {};
        Actions actions = region->context->select;
        actions.push_back(AppAction::OpenContextMenu{region->context->items, event.position.x, event.position.y,
                                                     region->context->target});
        return actions;
    }
    if (event.kind.is<MouseEvent::Drag>()) return drag(event, frame);
    if (event.kind.is<MouseEvent::Release>()) return release(state);
    if (const auto* wheel = std::get_if<MouseEvent::Scroll>(&kind)) {
        const auto region =
            firstOffering(frame.hits, event.position, [](const HitRegion& r) { return r.scroll.has_value(); });
        if (!region) return {};
        return scroll(*region->scroll, wheel->direction, event.modifiers.contains(terminal::Modifiers::shift));
    }
    return {};
}

std::vector<AppAction> InputRouter::primaryPress(const MouseEvent& event, const AppState& state,
                                                 const RenderedFrame& frame, Clock::time_point now) {
    const bool isDouble = lastClick_ && lastClick_->point == event.position && now - lastClick_->time < doubleClickInterval;
    if (isDouble) {
        lastClick_.reset();
    } else {
        lastClick_ = LastClick{event.position, now};
    }

    const auto region = topmost(frame.hits, event.position);
    if (!region) return {};
    if (region->line) {
        gutterDrag_ = GutterDrag{region->line->ref, !region->line->selected};
    } else {
        gutterDrag_.reset();
    }

    Actions actions = isDouble && !region->doublePress.empty() ? region->doublePress : region->press;
    if (region->text) {
        textDrag_ = true;
        actions.push_back(WorkspaceAction::BeginDiffTextSelection{textPoint(*region->text, event.position)});
    } else if (const features::DiffViewState* diff = currentDiff(state); diff && diff->textSelection) {
        actions.push_back(WorkspaceAction::EndDiffTextSelection{std::nullopt});
    }
    return actions;
}

std::vector<AppAction> InputRouter::drag(const MouseEvent& event, const RenderedFrame& frame) const {
    const auto& dragged = std::get<MouseEvent::Drag>(event.kind.value);
    if (dragged.button != MouseEvent::Button::left) return {};
    if (textDrag_) {
        const auto region =
            firstOffering(frame.hits, event.position, [](const HitRegion& r) { return r.text.has_value(); });
        if (!region) return {};
        return {WorkspaceAction::ExtendDiffTextSelection{textPoint(*region->text, event.position)}};
    }
    if (gutterDrag_) {
        const auto region = topmost(frame.hits, event.position);
        if (!region || !region->line) return {};
        return {WorkspaceAction::SetLineRange{gutterDrag_->anchor, region->line->ref, gutterDrag_->selected}};
    }
    return {};
}

std::vector<AppAction> InputRouter::release(const AppState& state) {
    gutterDrag_.reset();
    if (!textDrag_) return {};
    textDrag_ = false;
    const features::DiffViewState* diff = currentDiff(state);
    return {WorkspaceAction::EndDiffTextSelection{diff ? DiffTextCopy::text(*diff) : std::nullopt}};
}

std::vector<AppAction> InputRouter::scroll(const HitRegion::ScrollTarget& target, MouseEvent::Direction direction,
                                           bool shift) {
    using Direction = MouseEvent::Direction;
    const bool horizontal = direction == Direction::left || direction == Direction::right;
    const bool backward = direction == Direction::up || direction == Direction::left;
    if (std::holds_alternative<HitRegion::ScrollTarget::OverlayList>(target.value)) {
        if (horizontal) return {};
        return {features::OverlayAction::Scroll{backward ? -3 : 3}};
    }
    const Pane pane = std::get<Pane>(target.value);
    if (isDiffPane(pane) && (horizontal || shift)) return {WorkspaceAction::ScrollDiffHorizontally{backward ? -6 : 6}};
    if (horizontal) return {};
    return {WorkspaceAction::Scroll{pane, backward ? -3 : 3}};
}

}  // namespace tarv::ui
