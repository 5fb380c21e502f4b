#pragma once

#include "TarvCore/Models/EnvironmentReport.hpp"

#include <stop_token>
#include <string>

namespace tarv::core {

// git beyond one repository: the environment probe and the global
// configuration. Blocking calls that throw.
class GitClient {
public:
    virtual ~GitClient() = default;

    virtual EnvironmentReport probeEnvironment(std::stop_token stop) = 0;
    virtual void setGlobalConfig(const std::string& key, const std::string& value, std::stop_token stop) = 0;
};

}  // namespace tarv::core
