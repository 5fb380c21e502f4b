#pragma once

#include <cstdint>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

#include "TarvCore/Ports/ForegroundProcessRunning.hpp"

namespace tarv::system {

// Runs an interactive program (the terminal editor) on the terminal this
// process has, and waits for it to end. The program stays in this process's
// session and process group, so it shares the terminal's foreground group and
// the terminal is simply ours again when it ends; it inherits the standard
// descriptors and the environment unchanged, with every signal at its default
// action and none blocked. No time limit, no pipes.
class PosixForegroundRunner final : public core::ForegroundProcessRunning {
public:
    PosixForegroundRunner() = default;

    // The program's exit code (128 plus the signal number when a signal ended
    // it), or nothing when it could not be started. The program is the user's
    // to end: `stop` is not acted on, the call returns when the program ends.
    std::optional<std::int32_t> run(const std::string& program, const std::vector<std::string>& arguments,
                                    std::stop_token stop) override;
};

}  // namespace tarv::system
