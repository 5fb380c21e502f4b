#include "TarvApp/Subcommands/KeychainTool.hpp"

#include "TarvStorage/Locations/AppPaths.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/Keychain/KeychainTool.hpp"
#include "TarvSystem/Opener/LinuxPlatformServices.hpp"

#include <csignal>
#include <iostream>
#include <string>
#include <vector>

namespace tarv::app {

int runKeychainTool(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN);
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) arguments.emplace_back(argv[i]);
    const storage::AppPaths paths(system::LocalFileStore().homeDirectory(),
                                  system::LinuxPlatformServices::processEnvironment());
    const int status = system::KeychainTool::run(arguments, std::cin, std::cout, std::cerr,
                                                 paths.stateDirectory + "/keychain/secrets.json");
    std::cout.flush();
    return status;
}

}  // namespace tarv::app
