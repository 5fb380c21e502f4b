#include "TarvCore/Rules/IdentityRules.hpp"

#include "TarvCore/Models/HostingDefaults.hpp"
#include "TarvCore/Text/Graphemes.hpp"
#include "TarvCore/Text/Split.hpp"
#include "TarvCore/Text/Trim.hpp"
#include "TarvCore/Text/Unicode.hpp"

namespace tarv::core::IdentityRules {

namespace {

bool isBlank(const std::optional<std::string>& value) { return !value || text::trimmedView(*value).empty(); }

}  // namespace

bool isComplete(const Identity& identity) { return !isBlank(identity.name) && !isBlank(identity.email); }

bool isValidName(std::string_view name) { return !text::trimmedView(name).empty(); }

bool isValidEmail(std::string_view email) {
    const std::string_view address = text::trimmedView(email);
    bool whitespace = false;
    text::forEachGrapheme(address, [&](std::string_view character) { whitespace |= text::isWhitespace(character); });
    if (whitespace) return false;
    const auto parts = text::split(address, '@', {.omittingEmpty = false});
    if (parts.size() != 2) return false;
    const std::string_view local = parts[0];
    const std::string_view domain = parts[1];
    if (local.empty()) return false;
    return domain.find('.') != std::string_view::npos && domain.front() != '.' && domain.back() != '.';
}

std::string githubNoReplyEmail(std::int64_t userID, std::string_view login) {
    return std::to_string(userID) + "+" + std::string(login) + "@" + std::string(HostingDefaults::noReplyEmailDomain);
}

}  // namespace tarv::core::IdentityRules
