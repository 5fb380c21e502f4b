#include "TarvFeatures/Overlay/NewBranchState.hpp"

#include <utility>

#include "TarvCore/Rules/BranchNameRules.hpp"

namespace tarv::features {

NewBranchState::NewBranchState(std::optional<std::string> start, std::optional<std::string> renaming)
    : name(renaming.value_or("")), start(std::move(start)), renaming(std::move(renaming)) {}

std::string NewBranchState::sanitized() const {
    return core::BranchNameRules::sanitize(name.text());
}

bool NewBranchState::isValid() const {
    return core::BranchNameRules::isValid(sanitized());
}

}  // namespace tarv::features
