#include "TarvCore/Errors/ProcessError.hpp"

#include <cstring>

namespace tarv::core {

const char* ProcessError::what() const noexcept {
    switch (value.index()) {
    case 0: return "ProcessError.spawnFailed";
    case 1: return "ProcessError.timedOut";
    default: return "ProcessError.cancelled";
    }
}

std::string ProcessError::description() const {
    std::string out = what();
    if (const auto* spawn = std::get_if<SpawnFailed>(&value)) {
        out += "(errno " + std::to_string(spawn->errorNumber) + ": " + std::strerror(spawn->errorNumber) + ")";
    }
    return out;
}

}  // namespace tarv::core
