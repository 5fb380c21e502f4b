#pragma once

#include <string>

namespace tarv::core {

// The one question the git locator asks of the file system.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    virtual bool isExecutableFile(const std::string& path) const = 0;
};

}  // namespace tarv::core
