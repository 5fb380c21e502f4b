#pragma once

#include <string>

#include "TarvCore/Models/GitVersion.hpp"

namespace tarv::engine {

// The git executable that answered, with its version.
struct GitInstallation {
    std::string path;
    core::GitVersion version;

    bool operator==(const GitInstallation&) const = default;
};

}  // namespace tarv::engine
