#include "TarvApp/Composition/GitHubAppConfig.hpp"

#include "TarvHosting/GitHub/GitHubClientLive.hpp"

namespace tarv::app::GitHubAppConfig {
namespace {

std::string valueOr(const Environment& environment, const char* name, std::string_view fallback) {
    const auto found = environment.find(name);
    return found != environment.end() ? found->second : std::string(fallback);
}

}  // namespace

std::string clientID(const Environment& environment) {
    const auto found = environment.find("TARV_GITHUB_CLIENT_ID");
    if (found != environment.end() && !found->second.empty()) return found->second;
    return std::string(builtInClientID);
}

std::string webBase(const Environment& environment) {
    return valueOr(environment, "TARV_GITHUB_WEB", hosting::GitHubClientLive::defaultWebBase);
}

std::string apiBase(const Environment& environment) {
    return valueOr(environment, "TARV_GITHUB_API", hosting::GitHubClientLive::defaultAPIBase);
}

}  // namespace tarv::app::GitHubAppConfig
