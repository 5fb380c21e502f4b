#include <cstdio>
#include <cstring>

#include "TarvApp/Subcommands/AskpassMode.hpp"

// Entry point. For now tarv only answers --version and --help; the
// interactive interface is wired here as its modules land.
int main(int argc, char** argv) {
    // Started by git or ssh as "tarv-askpass": relay the prompt and exit,
    // before anything else runs.
    if (const auto status = tarv::app::runAskpassModeIfInvoked(argc, argv)) return *status;

    if (argc > 1 && (std::strcmp(argv[1], "--version") == 0 || std::strcmp(argv[1], "-v") == 0)) {
        std::puts("tarv 1.0.0");
        return 0;
    }
    std::fputs("tarv: la interfaz aún no está disponible en esta versión; prueba --version\n", stderr);
    return 1;
}
