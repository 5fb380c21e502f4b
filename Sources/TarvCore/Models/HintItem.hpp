#pragma once

#include <array>
#include <cstddef>

namespace tarv::core {

// The footer hints: a short label shown beside a key.
enum class HintItem {
    panel, include, commit, sync, palette, help, scroll, hunk, back, move, open, copySHA, confirm,
    close, repos, quit, write, filter, keepCurrent, keepIncoming, keepBoth, resolved,
};

inline constexpr std::size_t hintItemCount = 22;

inline constexpr std::array<HintItem, hintItemCount> allHintItems = {
    HintItem::panel, HintItem::include, HintItem::commit, HintItem::sync, HintItem::palette,
    HintItem::help, HintItem::scroll, HintItem::hunk, HintItem::back, HintItem::move,
    HintItem::open, HintItem::copySHA, HintItem::confirm, HintItem::close, HintItem::repos,
    HintItem::quit, HintItem::write, HintItem::filter, HintItem::keepCurrent,
    HintItem::keepIncoming, HintItem::keepBoth, HintItem::resolved,
};

}  // namespace tarv::core
