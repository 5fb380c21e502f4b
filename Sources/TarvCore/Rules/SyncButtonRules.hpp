#pragma once

#include "TarvCore/Rules/SyncButtonModel.hpp"
#include "TarvCore/Rules/SyncContext.hpp"

namespace tarv::core::SyncButtonRules {

// Picks the button's action: publish the repository, publish the branch,
// pull, push or fetch, in that order of precedence.
SyncButtonModel model(const SyncContext& context);

}  // namespace tarv::core::SyncButtonRules
