#include "TarvUI/Components/HintBar.hpp"

#include <algorithm>
#include <string>
#include <vector>

#include "TarvCore/Models/HintItem.hpp"
#include "TarvFeatures/App/AppState.hpp"
#include "TarvTerminal/Text/DisplayWidth.hpp"
#include "TarvTerminal/Text/TextTruncation.hpp"
#include "TarvUI/Keymap/Keymap.hpp"

namespace tarv::ui::HintBar {

using terminal::DisplayWidth::width;
using terminal::Point;
using terminal::Rect;

namespace {

std::string statusText(const UIFrame& frame, const features::AppState& state) {
    if (!state.workspace) return {};
    const auto& ws = *state.workspace;
    std::string text = frame.text(core::Text::branchStatus(
        ws.currentBranch(), static_cast<std::int64_t>(ws.status.files.size())));
    if (ws.status.branch.ahead > 0) text += " \u2191" + std::to_string(ws.status.branch.ahead);
    if (ws.status.branch.behind > 0) text += " \u2193" + std::to_string(ws.status.branch.behind);
    return text;
}

// The first line of a text that is not empty; empty when there is none.
std::string_view firstLine(std::string_view text) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!line.empty()) return line;
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return {};
}

// The hints that lead to every other key: dropped only when nothing else
// is left to drop.
bool staysToTheLast(const Keymap::Hint& hint) {
    return hint.label == core::Text::hint(core::HintItem::palette) ||
           hint.label == core::Text::hint(core::HintItem::help);
}

// Whether `hints`, in order and with their separators, end by `limit` when
// they start at `x`.
bool fitsWhole(const UIFrame& frame, const std::vector<Keymap::Hint>& hints, std::int64_t x, std::int64_t limit) {
    for (std::size_t i = 0; i < hints.size(); ++i) {
        x += width(hints[i].keys) + 1 + width(frame.text(hints[i].label)) + (i == 0 ? 0 : 3);
    }
    return x <= limit;
}

// The hints to try, in their order: every hint that stays to the last, and
// the longest run of the others from the first on with which they all fit.
std::vector<Keymap::Hint> chosen(const UIFrame& frame, std::vector<Keymap::Hint> hints, std::int64_t x,
                                 std::int64_t limit) {
    while (!fitsWhole(frame, hints, x, limit)) {
        const auto last = std::find_if(hints.rbegin(), hints.rend(), [](const auto& h) { return !staysToTheLast(h); });
        if (last == hints.rend()) break;
        hints.erase(std::next(last).base());
    }
    return hints;
}

}  // namespace

void draw(UIFrame& frame, const features::AppState& state, const WorkspaceLayout& layout) {
    const ThemeStyles& s = frame.styles;
    const Rect& r = layout.hint;
    frame.canvas.fill(r, s.toolbar);
    const std::string status = statusText(frame, state);
    const std::int64_t statusWidth = width(status);
    const std::int64_t limit = statusWidth > 0 ? r.maxX() - (statusWidth + 3) : r.maxX() - 1;

    std::int64_t x = r.minX() + 1;
    bool first = true;
    for (const auto& hint : chosen(frame, frame.keymap.hints(state), x, limit)) {
        const std::string label = frame.text(hint.label);
        const std::int64_t room = width(hint.keys) + 1 + width(label) + (first ? 0 : 3);
        if (x + room > limit) break;
        if (!first) x += frame.canvas.draw(" \u00B7 ", Point{x, r.minY()}, s.hintText);
        x += frame.canvas.draw(hint.keys, Point{x, r.minY()}, s.hintKey) + 1;
        x += frame.canvas.draw(label, Point{x, r.minY()}, s.hintText);
        first = false;
    }
    if (statusWidth > 0) frame.canvas.drawRightAligned(status, r.maxX() - 1, r.minY(), s.hintKey);
}

void drawToast(UIFrame& frame, const features::AppState& state, const WorkspaceLayout& layout) {
    if (!state.toast) return;
    const Rect& r = layout.toast;
    const auto& style = state.toast->isError ? frame.styles.toastError : frame.styles.toast;
    frame.canvas.fill(r, style);
    const std::string text = frame.text(state.toast->text);
    frame.canvas.draw(terminal::TextTruncation::tail(firstLine(text), r.size.width - 2), Point{r.minX() + 1, r.minY()},
                      style);
    frame.hits.add(r, HitRegion::pressing(actions(features::AppAction::DismissToast{state.toast->id})));
}

}  // namespace tarv::ui::HintBar
