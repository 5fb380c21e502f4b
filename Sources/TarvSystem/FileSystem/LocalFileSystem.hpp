#pragma once

#include "TarvCore/Ports/FileSystem.hpp"

#include <string>

namespace tarv::system {

// The live executable check.
class LocalFileSystem final : public core::FileSystem {
public:
    // True when a regular file exists at the path (symbolic links followed)
    // and this user may execute it.
    bool isExecutableFile(const std::string& path) const override;
};

}  // namespace tarv::system
