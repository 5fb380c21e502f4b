#include "TarvApp/Subcommands/AskpassMode.hpp"

#include <csignal>
#include <map>
#include <string>
#include <vector>

#include "TarvSystem/IPC/AskpassClient.hpp"

extern char** environ;

namespace tarv::app {

std::optional<int> runAskpassModeIfInvoked(int argc, char** argv) {
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<std::size_t>(argc > 0 ? argc : 0));
    for (int i = 0; i < argc; ++i) arguments.emplace_back(argv[i] != nullptr ? argv[i] : "");
    if (!system::AskpassClient::isInvocation(arguments)) return std::nullopt;

    // A server that goes away mid-answer must end in a failed write, not a
    // signal.
    std::signal(SIGPIPE, SIG_IGN);

    std::map<std::string, std::string> environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string text(*entry);
        const auto equals = text.find('=');
        if (equals == std::string::npos) continue;
        environment.emplace(text.substr(0, equals), text.substr(equals + 1));
    }
    return system::AskpassClient::run(arguments, environment);
}

}  // namespace tarv::app
