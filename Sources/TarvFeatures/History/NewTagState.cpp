#include "TarvFeatures/History/NewTagState.hpp"

#include "TarvCore/Rules/BranchNameRules.hpp"
#include "TarvCore/Rules/Trimmed.hpp"

namespace tarv::features {

bool NewTagState::isValid() const { return core::BranchNameRules::isValid(core::trimmed(name.text())); }

}  // namespace tarv::features
