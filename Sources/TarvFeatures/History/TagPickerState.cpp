#include "TarvFeatures/History/TagPickerState.hpp"

namespace tarv::features {

TagPickerState::TagPickerState(std::vector<core::Tag> tags) : tags(std::move(tags)) {
    if (!this->tags.empty()) list.selected = 0;
}

}  // namespace tarv::features
