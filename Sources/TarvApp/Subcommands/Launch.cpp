#include "TarvApp/Subcommands/Launch.hpp"

#include <unistd.h>

#include <climits>
#include <memory>

#include "TarvApp/Composition/LiveDependencies.hpp"
#include "TarvApp/Runtime/AllocatorSettings.hpp"
#include "TarvApp/Runtime/AppRuntime.hpp"
#include "TarvApp/Subcommands/CLI.hpp"
#include "TarvApp/Subcommands/Gallery/GalleryCommand.hpp"
#include "TarvApp/Subcommands/StartPath.hpp"
#include "TarvCore/Localization/AppInfo.hpp"
#include "TarvCore/Rules/AppearanceRules.hpp"
#include "TarvCore/Rules/KeymapRules.hpp"
#include "TarvEngine/Service/GitRepositoryClientLive.hpp"
#include "TarvStorage/Locations/AppPaths.hpp"
#include "TarvStorage/Stores/JSONKeymapStore.hpp"
#include "TarvSystem/FileSystem/LocalFileStore.hpp"
#include "TarvSystem/FileSystem/SystemAppearance.hpp"
#include "TarvSystem/Process/PosixForegroundRunner.hpp"
#include "TarvTerminal/Backend/TerminalCapabilities.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"
#include "TarvTerminal/Text/InertText.hpp"

namespace tarv::app::Launch {
namespace {

std::int32_t unknown(const std::string& given, core::Language language) {
    const std::string argument = terminal::InertText::line(given);
    const std::string message = language == core::Language::es ? "tarv: opci\xC3\xB3n desconocida '" + argument + "'"
                                                                : "tarv: unknown option '" + argument + "'";
    terminal::TerminalOutput::writeAll(2, message + "\n" + std::string(CLI::usage(language)) + "\n");
    return 2;
}

void printLine(const std::string& text) { terminal::TerminalOutput::writeAll(1, text + "\n"); }

std::string currentDirectory() {
    char buffer[PATH_MAX];
    if (getcwd(buffer, sizeof buffer) != nullptr) return buffer;
    return "/";
}

}  // namespace

RuntimeOptions options(const LaunchArguments& arguments, const Environment& environment, core::KeymapStore& keymap) {
    RuntimeOptions options;
    options.mouse = arguments.mouse;
    options.language = arguments.language.value_or(CLI::language(environment));
    options.colorSupport = arguments.noColor ? terminal::ColorSupport::none
                                             : terminal::TerminalCapabilities::colorSupport(environment, std::nullopt);

    const auto home = environment.find("HOME");
    const std::optional<std::string> homeValue =
        home != environment.end() ? std::optional<std::string>(home->second) : std::nullopt;
    const auto appearance =
        core::AppearanceRules::resolve(arguments.themeFlag, system::SystemAppearance::interfaceStyle(homeValue));
    options.theme = appearance == core::AppearanceRules::Appearance::dark ? ui::Theme::dark : ui::Theme::light;

    core::KeymapRules::Resolved resolved;
    try {
        resolved = core::KeymapRules::resolve(keymap.load());
    } catch (...) {
        // A file that cannot be used: the standard keymap, no notice.
    }
    options.keymap = ui::Keymap(resolved.overrides);
    if (!resolved.problems.empty()) {
        options.startupNotice = core::Text::keymapNotice(static_cast<std::int64_t>(resolved.problems.size()));
    }
    return options;
}

std::int32_t run(const std::vector<std::string>& arguments, const Environment& environment) {
    const auto parsed = LaunchArguments::parse(arguments);
    if (const auto* bad = std::get_if<LaunchArguments::UnknownOption>(&parsed)) {
        return unknown(bad->argument, bad->language.value_or(CLI::language(environment)));
    }
    const LaunchArguments& launch = std::get<LaunchArguments>(parsed);
    switch (launch.request) {
        case LaunchArguments::Request::help:
            printLine(std::string(CLI::usage(launch.language.value_or(CLI::language(environment)))));
            return 0;
        case LaunchArguments::Request::version:
            printLine("tarv " + std::string(core::AppInfo::version));
            return 0;
        case LaunchArguments::Request::launch: break;
    }

    auto files = std::make_shared<system::LocalFileStore>();
    const storage::AppPaths paths(files->homeDirectory(), environment);
    storage::JSONKeymapStore keymap(files, paths.configDirectory);
    AllocatorSettings::retainFreedMemory();
    if (launch.gallery) return GalleryCommand::run(options(launch, environment, keymap));

    const std::string cwd = currentDirectory();
    const std::string startDirectory =
        launch.startPath ? StartPath::absolute(*launch.startPath, cwd, files->homeDirectory()) : cwd;
    LiveDependencies::Interactive live = LiveDependencies::makeInteractive(environment);
    // The first screen waits above all for the start folder's status: it is
    // read from now on, beside the start-up checks that gate the open, and
    // while the settings below are read.
    const auto& repository = live.dependencies.repository;
    if (const auto client = std::dynamic_pointer_cast<engine::GitRepositoryClientLive>(repository)) {
        client->readAhead(startDirectory);
    }
    RuntimeOptions settled = options(launch, environment, keymap);
    AppRuntime runtime(std::move(live.dependencies), std::move(settled),
                       std::make_shared<system::PosixForegroundRunner>(), std::move(live.shutdown));
    return runtime.run(startDirectory);
}

}  // namespace tarv::app::Launch
