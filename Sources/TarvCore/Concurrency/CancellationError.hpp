#pragma once

#include <exception>

namespace tarv::core {

// Thrown by blocking calls that end early because their stop token fired
// (a cancelled sleep, a sibling stopped after another one failed).
struct CancellationError : std::exception {
    const char* what() const noexcept override { return "cancelled"; }
    bool operator==(const CancellationError&) const { return true; }
};

}  // namespace tarv::core
