#pragma once

#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/GitVersion.hpp"
#include "TarvCore/Models/Identity.hpp"

namespace tarv::core {

// The machine's git set-up as one environment probe found it.
struct EnvironmentReport {
    // None: no usable git executable was found.
    std::optional<std::string> gitPath = std::nullopt;
    // None when the version output could not be parsed.
    std::optional<GitVersion> gitVersion = std::nullopt;
    Identity identity = {};
    // The configured credential helpers, in git's order.
    std::vector<std::string> credentialHelpers = {};
    // init.defaultBranch
    std::optional<std::string> defaultBranch = std::nullopt;

    bool operator==(const EnvironmentReport&) const = default;
};

}  // namespace tarv::core
