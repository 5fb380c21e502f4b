#pragma once

#include "TarvCore/Models/RemoteURL.hpp"

#include <optional>
#include <string_view>

namespace tarv::core::RemoteURLParser {

// Parses a remote address as git stores it or as typed: a URL with a scheme
// (https, http, ssh, git, file), the scp form "user@host:owner/name.git", or
// the shorthand "owner/name" on the hosting service. None when it is neither.
std::optional<RemoteURL> parse(std::string_view text);

}  // namespace tarv::core::RemoteURLParser
