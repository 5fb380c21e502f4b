#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "TarvCore/Models/CredentialPrompt.hpp"
#include "TarvCore/Models/GitHubSession.hpp"

// Which of git's credential prompts the signed-in hosting session answers by
// itself: the user name and password git itself asks for an HTTPS address on
// the hosting service's web host, nothing else (never a prompt of ssh).
namespace tarv::features::GitHubCredentialAnswer {

// The host of an HTTPS address, lower-cased; none when the text does not
// start with "https://" (letter case ignored). The authority ends at the
// first "/", "?", "#" or "\"; user information (up to the last "@") and a
// port are dropped. "https://" alone gives an empty host.
std::optional<std::string> host(std::string_view subject);

// The session's login for a username prompt and its token for a password
// prompt, when git asked and the prompt's subject names the hosting
// service's web host; none otherwise (ssh or an unknown asker, no subject,
// another host or scheme, a passphrase or a confirmation).
std::optional<std::string> answer(const core::CredentialPrompt& prompt, const core::GitHubSession& session);

}  // namespace tarv::features::GitHubCredentialAnswer
