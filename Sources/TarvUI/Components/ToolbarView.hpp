#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "TarvCore/Models/CheckSummary.hpp"
#include "TarvTerminal/Style/Style.hpp"
#include "TarvUI/Components/UIFrame.hpp"
#include "TarvUI/Layout/WorkspaceLayout.hpp"
#include "TarvUI/Theme/ThemeStyles.hpp"

namespace tarv::features {
struct AppState;
struct WorkspaceState;
}  // namespace tarv::features

// The three-row bar at the top of the workspace: the repository button
// (which repository, whether its hosted copy is private), the branch button
// (the current branch and its checks) and the sync button (what pressing it
// does, or a spinner while a sync runs). Each button is one segment of the
// layout and opens its picker or starts the sync through a hit region.
namespace tarv::ui::ToolbarView {

// The spinner frames, shown as frame tick % 10 wherever progress is shown.
inline constexpr std::array<std::string_view, 10> spinner = {"\u280B", "\u2819", "\u2839", "\u2838", "\u283C",
                                                             "\u2834", "\u2826", "\u2827", "\u2807", "\u280F"};

// The frame for an animation tick (never negative in practice).
constexpr std::string_view spinnerFrame(std::int64_t tick) {
    return spinner[static_cast<std::size_t>(((tick % 10) + 10) % 10)];
}

struct CheckMark {
    std::string_view glyph;
    terminal::Style style;
    bool operator==(const CheckMark&) const = default;
};

// "●" pending (warning), "✓" success, "✗" failure, in `base` with that
// foreground; none when there are no checks.
std::optional<CheckMark> checkMark(const core::CheckSummary& summary, const ThemeStyles& styles,
                                   const terminal::Style& base);

void draw(UIFrame& frame, const features::AppState& state, const features::WorkspaceState& workspace,
          const WorkspaceLayout& layout);

}  // namespace tarv::ui::ToolbarView
