#include "TarvTerminal/Backend/TerminalCapabilities.hpp"

#include <array>
#include <string_view>

extern char** environ;

namespace tarv::terminal::TerminalCapabilities {
namespace {

std::string valueOf(const Environment& environment, const std::string& name) {
    const auto it = environment.find(name);
    return it == environment.end() ? std::string() : it->second;
}

}  // namespace

ColorSupport colorSupport(const Environment& environment, std::optional<int> macOSMajorVersion) {
    const std::string noColor = valueOf(environment, "NO_COLOR");
    const std::string term = valueOf(environment, "TERM");
    const std::string colorTerm = valueOf(environment, "COLORTERM");
    const std::string program = valueOf(environment, "TERM_PROGRAM");

    if (!noColor.empty()) return ColorSupport::none;
    if (term == "dumb") return ColorSupport::none;
    if (colorTerm == "truecolor" || colorTerm == "24bit") return ColorSupport::trueColor;
    constexpr std::array<std::string_view, 6> trueColorPrograms{"iTerm.app", "ghostty", "WezTerm",
                                                                "vscode",    "kitty",   "Alacritty"};
    for (std::string_view p : trueColorPrograms) {
        if (program == p) return ColorSupport::trueColor;
    }
    if (program == "Apple_Terminal") {
        return macOSMajorVersion && *macOSMajorVersion >= 26 ? ColorSupport::trueColor : ColorSupport::ansi256;
    }
    if (term == "xterm-kitty" || term == "alacritty" || term == "xterm-ghostty") return ColorSupport::trueColor;
    if (term.find("256color") != std::string::npos) return ColorSupport::ansi256;
    return ColorSupport::ansi16;
}

std::string programName(const Environment& environment) {
    const auto program = environment.find("TERM_PROGRAM");
    if (program != environment.end() && !program->second.empty()) return program->second;
    const auto term = environment.find("TERM");
    if (term != environment.end()) return term->second;
    return "desconocido";
}

Environment processEnvironment() {
    Environment result;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos) continue;
        result.emplace(std::string(text.substr(0, equals)), std::string(text.substr(equals + 1)));
    }
    return result;
}

}  // namespace tarv::terminal::TerminalCapabilities
