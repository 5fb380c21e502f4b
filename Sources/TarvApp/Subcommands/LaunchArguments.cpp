#include "TarvApp/Subcommands/LaunchArguments.hpp"

namespace tarv::app {

namespace {

void ask(LaunchArguments& result, LaunchArguments::Request request) {
    if (result.request == LaunchArguments::Request::launch) result.request = request;
}

}  // namespace

std::variant<LaunchArguments, LaunchArguments::UnknownOption> LaunchArguments::parse(
    const std::vector<std::string>& arguments) {
    LaunchArguments result;
    std::optional<std::string> unknown;
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
        } else if (argument == "--help" || argument == "-h") {
            ask(result, Request::help);
        } else if (argument == "--version" || argument == "-v") {
            ask(result, Request::version);
        } else if (!argument.empty() && argument.front() == '-') {
            // The walk goes on so that a later "--lang" still picks the
            // language of the message.
            if (!unknown) unknown = argument;
        } else {
            result.startPath = argument;
        }
    }
    if (unknown) return UnknownOption{*unknown, result.language};
    return result;
}

std::optional<core::Language> LaunchArguments::languageOption(const std::vector<std::string>& arguments) {
    const auto parsed = parse(arguments);
    if (const auto* known = std::get_if<LaunchArguments>(&parsed)) return known->language;
    return std::get<UnknownOption>(parsed).language;
}

}  // namespace tarv::app
