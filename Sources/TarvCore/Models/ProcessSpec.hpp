#pragma once

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Models/Bytes.hpp"

namespace tarv::core {

// A request to run one child process.
struct ProcessSpec {
    // The program to run (a path).
    std::string executable;
    // Arguments in order, without the program name.
    std::vector<std::string> arguments = {};
    // Variables set for the child.
    std::map<std::string, std::string> environment = {};
    // Whether the child starts from this process's environment with
    // `environment` laid over it (true) or from `environment` alone.
    bool inheritEnvironment = true;
    // Working directory of the child; absent: this process's own.
    std::optional<std::string> currentDirectory = std::nullopt;
    // Bytes written to the child's standard input, which is then closed;
    // absent: the child gets no input.
    std::optional<Bytes> stdin = std::nullopt;
    // Time limit of the run; absent: none.
    std::optional<std::chrono::milliseconds> timeout = std::nullopt;
    // Inherited variables the child does not get (`environment` may still
    // set them).
    std::vector<std::string> clearedVariables = {};

    bool operator==(const ProcessSpec&) const = default;
};

}  // namespace tarv::core
