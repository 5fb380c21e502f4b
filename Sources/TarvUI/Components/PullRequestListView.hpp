#pragma once

#include "TarvTerminal/Geometry/Rect.hpp"
#include "TarvUI/Components/UIFrame.hpp"

namespace tarv::features {
struct AppState;
struct BranchPickerState;
}  // namespace tarv::features

// The branch picker's Pull requests tab inside its list rectangle: one row
// per open pull request (checks, number, title, author, draft mark, age), or
// a message saying why there is nothing to list, with a sign-in button when
// signed out. Titles, authors and error bodies come from the server and are
// drawn through the canvas, which never lets a control through.
namespace tarv::ui::PullRequestListView {

void draw(UIFrame& frame, const features::AppState& state, const features::BranchPickerState& picker,
          const terminal::Rect& list);

}  // namespace tarv::ui::PullRequestListView
