#include "TarvFeatures/App/AppAction.hpp"

namespace tarv::features {

static_assert(std::variant_size_v<AppAction::Value> == 21);

AppAction::AppAction(const AppAction&) = default;
AppAction::AppAction(AppAction&&) noexcept = default;
AppAction& AppAction::operator=(const AppAction&) = default;
AppAction& AppAction::operator=(AppAction&&) noexcept = default;
AppAction::~AppAction() = default;
bool AppAction::operator==(const AppAction& other) const {
    return value == other.value;
}

}  // namespace tarv::features
