#include "TarvTerminal/Backend/TerminalError.hpp"

#include <cstring>

namespace tarv::terminal {

TerminalError::TerminalError(Case value) : value_(value) {
    if (const auto* failed = std::get_if<AttributesFailed>(&value_)) {
        message_ = "terminal attributes failed: " + std::string(std::strerror(failed->errnoValue));
    } else {
        message_ = "standard input is not a terminal";
    }
}

}  // namespace tarv::terminal
