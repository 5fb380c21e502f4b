#include "TarvFeatures/Overlay/OverlayAction.hpp"

namespace tarv::features {

static_assert(std::variant_size_v<OverlayAction::Value> == 21);

OverlayAction::OverlayAction(const OverlayAction& other) : value(copyThroughMove(other.value)) {}
OverlayAction::OverlayAction(OverlayAction&&) noexcept = default;
OverlayAction& OverlayAction::operator=(const OverlayAction& other) {
    if (this != &other) value = copyThroughMove(other.value);
    return *this;
}
OverlayAction& OverlayAction::operator=(OverlayAction&&) noexcept = default;
OverlayAction::~OverlayAction() = default;
bool OverlayAction::operator==(const OverlayAction& other) const {
    return value == other.value;
}

}  // namespace tarv::features
