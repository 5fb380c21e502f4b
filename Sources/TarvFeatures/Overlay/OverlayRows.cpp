#include "TarvFeatures/Overlay/OverlayRows.hpp"

#include <type_traits>
#include <variant>
#include <vector>

#include "TarvFeatures/App/AppState.hpp"
#include "TarvFeatures/Branches/BranchRows.hpp"
#include "TarvFeatures/Palette/PaletteCommands.hpp"
#include "TarvFeatures/Repositories/RepositoryRows.hpp"

namespace tarv::features::OverlayRows {

namespace {

template <class Container>
std::int64_t sizeOf(const Container& container) {
    return static_cast<std::int64_t>(container.size());
}

const std::vector<core::Branch>& branchesOf(const AppState& state) {
    static const std::vector<core::Branch> none;
    return state.workspace ? state.workspace->branches : none;
}

}  // namespace

core::ListScroll* list(Overlay& overlay) {
    return std::visit(
        [](auto& payload) -> core::ListScroll* {
            if constexpr (requires { payload.list; }) {
                return &payload.list;
            } else {
                return nullptr;
            }
        },
        overlay.value);
}

std::int64_t count(const AppState& state, const Overlay& overlay) {
    return std::visit(
        [&state](const auto& payload) -> std::int64_t {
            using Payload = std::remove_cvref_t<decltype(payload)>;
            if constexpr (std::is_same_v<Payload, RepositoryPickerState>) {
                return sizeOf(RepositoryRows::selectable(state.repositories, payload.filter.text()));
            } else if constexpr (std::is_same_v<Payload, BranchPickerState>) {
                if (payload.tab == BranchPickerState::Tab::pullRequests) return sizeOf(payload.pullRequests.items());
                return sizeOf(BranchRows::selectable(branchesOf(state), payload.filter.text()));
            } else if constexpr (std::is_same_v<Payload, PaletteState>) {
                return sizeOf(PaletteCommands::results(state, payload.query.text()));
            } else if constexpr (std::is_same_v<Payload, TagPickerState>) {
                return sizeOf(payload.tags);
            } else if constexpr (std::is_same_v<Payload, WorktreePickerState>) {
                return sizeOf(payload.worktrees);
            } else if constexpr (std::is_same_v<Payload, ClonePromptState>) {
                return sizeOf(payload.matches());
            } else if constexpr (std::is_same_v<Payload, ContextMenuState>) {
                return sizeOf(payload.items);
            } else if constexpr (std::is_same_v<Payload, StashPickerState>) {
                return sizeOf(payload.entries);
            } else if constexpr (std::is_same_v<Payload, Overlay::Help>) {
                return state.viewports.helpLines;
            } else {
                return 0;
            }
        },
        overlay.value);
}

}  // namespace tarv::features::OverlayRows
