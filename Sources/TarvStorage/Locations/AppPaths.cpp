#include "TarvStorage/Locations/AppPaths.hpp"

namespace tarv::storage {

namespace {

std::string folder(const std::string& home, const std::map<std::string, std::string>& environment,
                   const char* variable, const char* fallback) {
    const auto found = environment.find(variable);
    if (found != environment.end() && !found->second.empty() && found->second.front() == '/') {
        return found->second + "/tarv";
    }
    return home + "/" + fallback + "/tarv";
}

}  // namespace

AppPaths::AppPaths(const std::string& home, const std::map<std::string, std::string>& environment)
    : configDirectory(folder(home, environment, "XDG_CONFIG_HOME", ".config")),
      stateDirectory(folder(home, environment, "XDG_STATE_HOME", ".local/state")),
      cacheDirectory(folder(home, environment, "XDG_CACHE_HOME", ".cache")) {}

}  // namespace tarv::storage
