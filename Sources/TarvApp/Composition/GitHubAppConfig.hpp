#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tarv::app::GitHubAppConfig {

using Environment = std::map<std::string, std::string>;

// The OAuth client id of the program's registered application on the
// hosting service, used by the device flow unless the environment names
// another.
inline constexpr std::string_view builtInClientID = "Ov23liTarvTerminal01";

// TARV_GITHUB_CLIENT_ID when set and not empty, else the built-in id.
std::string clientID(const Environment& environment);
// TARV_GITHUB_WEB when set (any value, even empty), else the service's web
// address.
std::string webBase(const Environment& environment);
// TARV_GITHUB_API when set (any value), else the service's REST address.
std::string apiBase(const Environment& environment);

}  // namespace tarv::app::GitHubAppConfig
