#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/ListScroll.hpp"

namespace tarv::features {

// A small menu of commands opened at a screen cell; the first item is
// highlighted.
struct ContextMenuState {
    // The commands offered, in this order.
    std::vector<core::AppCommand> items;
    // The branch name of the row the menu was opened on, if any; choosing an
    // item copies it into the workspace's branch target first.
    std::optional<std::string> target;
    // The cell where the menu was opened.
    std::int64_t anchorX = 0;
    std::int64_t anchorY = 0;
    core::ListScroll list{.offset = 0, .selected = 0};

    ContextMenuState(std::vector<core::AppCommand> items, std::int64_t anchorX, std::int64_t anchorY,
                     std::optional<std::string> target = std::nullopt)
        : items(std::move(items)), target(std::move(target)), anchorX(anchorX), anchorY(anchorY) {}

    bool operator==(const ContextMenuState&) const = default;
};

}  // namespace tarv::features
