#include <string>
#include <vector>

#include "TarvApp/Subcommands/CLI.hpp"

// The tarv executable: the askpass relay when started as "tarv-askpass" or
// "tarv-ssh-askpass", the subcommands, or the interface. The process ends with the code the command
// line returns.
int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc > 0 ? argc : 0));
    for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    tarv::app::CLI::runAndExit(arguments);
}
