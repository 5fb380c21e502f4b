#pragma once

#include <cstdint>

#include "TarvCore/Models/ListScroll.hpp"

namespace tarv::features {

struct AppState;
struct Overlay;

// The list of an overlay and the rows its selection indexes: the same rows
// the pickers draw and Enter chooses from. Recomputed from the state on
// every call; nothing is cached.
namespace OverlayRows {

// The overlay's list; null for the kinds without one (prompts,
// confirmations, messages, sign-in, credentials, help).
core::ListScroll* list(Overlay& overlay);

// The number of selectable rows of `overlay` in `state`: the repository
// and branch rows under the typed filter (the pull requests on that tab of
// the branch picker, while loaded), the palette's results for its query,
// the tags, worktrees, clone matches, menu items and stashes; the help's
// lines as last drawn. 0 for the kinds without a list.
std::int64_t count(const AppState& state, const Overlay& overlay);

}  // namespace OverlayRows

}  // namespace tarv::features
