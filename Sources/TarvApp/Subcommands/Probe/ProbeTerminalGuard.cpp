#include "TarvApp/Subcommands/Probe/ProbeTerminalGuard.hpp"

#include <termios.h>
#include <unistd.h>

#include "TarvTerminal/Backend/CrashRestore.hpp"

namespace tarv::app {

ProbeTerminalGuard::ProbeTerminalGuard() {
    termios original{};
    if (isatty(0) != 1 || tcgetattr(0, &original) != 0) return;
    terminal::CrashRestore::install(original, resetSequence);
    terminal::CrashRestore::coverTermination();
    installed_ = true;
}

ProbeTerminalGuard::~ProbeTerminalGuard() {
    if (installed_) terminal::CrashRestore::uninstall();
}

}  // namespace tarv::app
