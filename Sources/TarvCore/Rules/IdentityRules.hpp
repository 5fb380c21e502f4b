#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "TarvCore/Models/Identity.hpp"

namespace tarv::core::IdentityRules {

// Name and e-mail both present and not blank (the e-mail's form is not
// checked here).
bool isComplete(const Identity& identity);

// Not blank.
bool isValidName(std::string_view name);

// After trimming: no white space inside, exactly one "@", something before
// it, and a domain that holds a "." but neither begins nor ends with one.
bool isValidEmail(std::string_view email);

// The hosting service's no-reply address of an account: id, "+", login,
// "@", the no-reply domain.
std::string githubNoReplyEmail(std::int64_t userID, std::string_view login);

}  // namespace tarv::core::IdentityRules
