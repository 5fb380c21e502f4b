#include "TarvFeatures/Changes/SelectedLines.hpp"

namespace tarv::features {

bool SelectedLines::contains(const core::LineRef& ref) const {
    if (const auto* some = std::get_if<Some>(&value)) return some->lines.contains(ref);
    return std::holds_alternative<All>(value);
}

}  // namespace tarv::features
