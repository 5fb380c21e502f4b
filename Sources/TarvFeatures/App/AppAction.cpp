#include "TarvFeatures/App/AppAction.hpp"

namespace tarv::features {

static_assert(std::variant_size_v<AppAction::Value> == 21);

AppAction::AppAction(const AppAction& other) : value(copyThroughMove(other.value)) {}
AppAction::AppAction(AppAction&&) noexcept = default;
AppAction& AppAction::operator=(const AppAction& other) {
    if (this != &other) value = copyThroughMove(other.value);
    return *this;
}
AppAction& AppAction::operator=(AppAction&&) noexcept = default;
AppAction::~AppAction() = default;
bool AppAction::operator==(const AppAction& other) const {
    return value == other.value;
}

}  // namespace tarv::features
