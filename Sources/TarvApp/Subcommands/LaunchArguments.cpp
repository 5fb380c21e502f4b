#include "TarvApp/Subcommands/LaunchArguments.hpp"

namespace tarv::app {

std::variant<LaunchArguments, LaunchArguments::UnknownOption> LaunchArguments::parse(
    const std::vector<std::string>& arguments) {
    LaunchArguments result;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--no-mouse") {
            result.mouse = false;
        } else if (argument == "--no-color") {
            result.noColor = true;
        } else if (argument == "--gallery") {
            result.gallery = true;
        } else if (argument == "--theme") {
            if (++i < arguments.size()) result.themeFlag = arguments[i];
        } else if (argument == "--lang") {
            if (++i < arguments.size()) result.language = core::detectLanguage(arguments[i]);
        } else if (!argument.empty() && argument.front() == '-') {
            return UnknownOption{argument};
        } else {
            result.startPath = argument;
        }
    }
    return result;
}

}  // namespace tarv::app
