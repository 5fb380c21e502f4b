#pragma once

#include <map>
#include <stop_token>
#include <string>

#include "TarvApp/Subcommands/Doctor/DoctorInput.hpp"
#include "TarvCore/Ports/GitClient.hpp"
#include "TarvCore/Ports/ProcessRunning.hpp"
#include "TarvTerminal/Backend/ColorSupport.hpp"

namespace tarv::app::DoctorCommand {

using Environment = std::map<std::string, std::string>;

// `tarv doctor`: asks git for its environment and ssh-add for the agent's
// keys, one after the other, describes the terminal, and returns the whole
// report (DoctorRenderer) in `language`, the interface's. Never fails: a
// failed git probe becomes the empty report, a failed ssh-add "no agent".
std::string run(core::GitClient& git, core::ProcessRunning& process, const Environment& environment,
                core::Language language);

// `/usr/bin/ssh-add -l` with 3 seconds: exit 0 gives the number of non-empty
// output lines, exit 1 "no keys", anything else (another code, a program
// that cannot start, the time limit) "no agent".
DoctorInput::SSHStatus sshStatus(core::ProcessRunning& runner, std::stop_token stop = {});

// The terminal program, the colour depth words in `language` and, when
// standard output is a terminal, its size, joined with " · ".
std::string terminalDescription(const Environment& environment, core::Language language);

// The colour depth words: "no color", "16 colors", "256 colors",
// "24-bit color" ("sin color", "16 colores", "256 colores", "color 24-bit").
std::string colorDepthWords(terminal::ColorSupport support, core::Language language);

}  // namespace tarv::app::DoctorCommand
