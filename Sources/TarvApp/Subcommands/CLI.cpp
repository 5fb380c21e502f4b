#include "TarvApp/Subcommands/CLI.hpp"

#include <csignal>
#include <cstdlib>

#include "TarvApp/Composition/LiveDependencies.hpp"
#include "TarvApp/Subcommands/Doctor/DoctorCommand.hpp"
#include "TarvApp/Subcommands/KeymapCommand.hpp"
#include "TarvApp/Subcommands/Launch.hpp"
#include "TarvApp/Subcommands/LaunchArguments.hpp"
#include "TarvApp/Subcommands/Probe/ProbeCommand.hpp"
#include "TarvCore/Localization/AppInfo.hpp"
#include "TarvSystem/IPC/AskpassClient.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"

extern char** environ;

namespace tarv::app::CLI {
namespace {

constexpr std::string_view spanishUsage =
    "uso: tarv [opciones] [ruta]\n"
    "\n"
    "  tarv                abre el repositorio del directorio actual (o la bienvenida)\n"
    "  tarv <ruta>         abre el repositorio de esa ruta\n"
    "  tarv doctor         diagn\xC3\xB3stico de git, identidad, credenciales, ssh y terminal\n"
    "  tarv doctor --probe adem\xC3\xA1s sondea el terminal en vivo (rat\xC3\xB3n, color, modos)\n"
    "  tarv scroll-probe   registra la rueda/trackpad y resume los gestos\n"
    "  tarv keymap         atajos efectivos, errores del keymap.json y c\xC3\xB3mo personalizarlos\n"
    "\n"
    "opciones:\n"
    "  --no-mouse          desactiva el rat\xC3\xB3n\n"
    "  --no-color          sin colores\n"
    "  --gallery           recorre las pantallas con datos de ejemplo (revisi\xC3\xB3n visual)\n"
    "  --theme auto|dark|light  tema de color (auto: claro)\n"
    "  --lang es|en        idioma de la interfaz\n"
    "  --version, --help";

constexpr std::string_view englishUsage =
    "usage: tarv [options] [path]\n"
    "\n"
    "  tarv                opens the repository of the current folder (or the welcome)\n"
    "  tarv <path>         opens the repository at that path\n"
    "  tarv doctor         checks git, identity, credentials, ssh and the terminal\n"
    "  tarv doctor --probe also probes the live terminal (mouse, color, modes)\n"
    "  tarv scroll-probe   records the wheel/trackpad and sums up the gestures\n"
    "  tarv keymap         effective shortcuts, keymap.json errors and how to customize them\n"
    "\n"
    "options:\n"
    "  --no-mouse          turns the mouse off\n"
    "  --no-color          no colors\n"
    "  --gallery           walks through the screens with sample data (visual review)\n"
    "  --theme auto|dark|light  color theme (auto: light)\n"
    "  --lang es|en        interface language\n"
    "  --version, --help";

void printLine(std::string_view text) { terminal::TerminalOutput::writeAll(1, std::string(text) + "\n"); }

// The arguments after the subcommand.
std::vector<std::string> after(const std::vector<std::string>& rest) {
    return std::vector<std::string>(rest.begin() + 1, rest.end());
}

std::int32_t doctor(const std::vector<std::string>& rest, const Environment& environment) {
    const features::Dependencies dependencies = LiveDependencies::make(environment);
    printLine(DoctorCommand::run(*dependencies.git, *dependencies.process, environment,
                                 interfaceLanguage(after(rest), environment)));
    if (rest.size() > 1 && rest[1] == "--probe") return ProbeCommand::probe(language(environment));
    return 0;
}

std::int32_t keymap(const std::vector<std::string>& rest, const Environment& environment) {
    std::string out;
    const core::Language chosen = interfaceLanguage(after(rest), environment);
    for (const std::string& line : KeymapCommand::renderForUser(environment, chosen)) {
        out += line + "\n";
    }
    terminal::TerminalOutput::writeAll(1, out);
    return 0;
}

}  // namespace

std::string_view usage(core::Language language) {
    return language == core::Language::es ? spanishUsage : englishUsage;
}

core::Language interfaceLanguage(const std::vector<std::string>& arguments, const Environment& environment) {
    return LaunchArguments::languageOption(arguments).value_or(language(environment));
}

std::int32_t run(const std::vector<std::string>& arguments, const Environment& environment) {
    if (system::AskpassClient::isInvocation(arguments)) return system::AskpassClient::run(arguments, environment);
    const std::vector<std::string> rest(arguments.empty() ? arguments.end() : arguments.begin() + 1,
                                        arguments.end());
    if (!rest.empty()) {
        const std::string& first = rest.front();
        if (first == "--version" || first == "-v") {
            printLine("tarv " + std::string(core::AppInfo::version));
            return 0;
        }
        if (first == "--help" || first == "-h") {
            printLine(usage(interfaceLanguage(rest, environment)));
            return 0;
        }
        if (first == "doctor") return doctor(rest, environment);
        if (first == "scroll-probe") return ProbeCommand::scrollProbe(language(environment));
        if (first == "keymap") return keymap(rest, environment);
    }
    return Launch::run(rest, environment);
}

core::Language language(const Environment& environment) {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const auto found = environment.find(name);
        if (found == environment.end()) continue;
        if (!found->second.empty()) return core::detectLanguage(found->second);
        break;
    }
    // The user's preferred languages: the first entry of LANGUAGE.
    const auto preferred = core::preferredLocale([&](std::string_view name) -> std::optional<std::string> {
        if (name != "LANGUAGE") return std::nullopt;
        const auto found = environment.find("LANGUAGE");
        return found != environment.end() ? std::optional<std::string>(found->second) : std::nullopt;
    });
    return core::detectLanguage(preferred ? std::optional<std::string_view>(*preferred) : std::nullopt);
}

Environment processEnvironment() {
    Environment environment;
    for (char** entry = environ; entry != nullptr && *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        const auto equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        environment.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
    }
    return environment;
}

void runAndExit(const std::vector<std::string>& arguments) {
    // A reader that goes away (a closed pipe, a server that quit) must end in
    // a failed write, never in a signal.
    std::signal(SIGPIPE, SIG_IGN);
    std::exit(run(arguments, processEnvironment()));
}

}  // namespace tarv::app::CLI
