#pragma once

#include <string>
#include <string_view>

#include "TarvApp/Subcommands/Doctor/DoctorInput.hpp"

namespace tarv::app::DoctorRenderer {

// The doctor report: the title, then git, identity, credentials, ssh and
// terminal, each after a good (" ✓ ") or bad (" ! ") mark, in the input's
// language, joined with line feeds (none after the last). The git line
// names the git found, wherever it is. Every value from outside (paths,
// config values, the terminal's names) is printed inert.
std::string render(const DoctorInput& input, std::string_view version);

}  // namespace tarv::app::DoctorRenderer
