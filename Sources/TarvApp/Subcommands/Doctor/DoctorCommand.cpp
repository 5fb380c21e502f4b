#include "TarvApp/Subcommands/Doctor/DoctorCommand.hpp"

#include <chrono>
#include <optional>

#include "TarvApp/Subcommands/Doctor/DoctorRenderer.hpp"
#include "TarvCore/Localization/AppInfo.hpp"
#include "TarvTerminal/Backend/TerminalCapabilities.hpp"
#include "TarvTerminal/Backend/WindowSize.hpp"

namespace tarv::app::DoctorCommand {
namespace {

std::int64_t nonEmptyLines(const std::string& text) {
    std::int64_t count = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string::npos ? text.size() : end;
        if (stop > start) ++count;
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return count;
}

}  // namespace

std::string colorDepthWords(terminal::ColorSupport support, core::Language language) {
    const bool spanish = language == core::Language::es;
    switch (support) {
    case terminal::ColorSupport::none: return spanish ? "sin color" : "no color";
    case terminal::ColorSupport::ansi16: return spanish ? "16 colores" : "16 colors";
    case terminal::ColorSupport::ansi256: return spanish ? "256 colores" : "256 colors";
    case terminal::ColorSupport::trueColor: break;
    }
    return spanish ? "color 24-bit" : "24-bit color";
}

std::string run(core::GitClient& git, core::ProcessRunning& process, const Environment& environment,
                core::Language language) {
    DoctorInput input;
    try {
        input.report = git.probeEnvironment({});
    } catch (...) {
        input.report = core::EnvironmentReport{};
    }
    input.ssh = sshStatus(process);
    input.terminalDescription = terminalDescription(environment, language);
    input.language = language;
    return DoctorRenderer::render(input, core::AppInfo::version);
}

DoctorInput::SSHStatus sshStatus(core::ProcessRunning& runner, std::stop_token stop) {
    core::ProcessSpec spec;
    spec.executable = "/usr/bin/ssh-add";
    spec.arguments = {"-l"};
    spec.timeout = std::chrono::seconds(3);
    try {
        const core::ProcessResult result = runner.run(spec, stop);
        if (result.exitCode == 0) return DoctorInput::SSHStatus::keys(nonEmptyLines(result.stdoutString()));
        if (result.exitCode == 1) return DoctorInput::SSHStatus::noKeys();
    } catch (...) {
    }
    return DoctorInput::SSHStatus::noAgent();
}

std::string terminalDescription(const Environment& environment, core::Language language) {
    const std::string separator = " \xC2\xB7 ";  // " · "
    std::string description =
        terminal::TerminalCapabilities::programName(environment) + separator +
        colorDepthWords(terminal::TerminalCapabilities::colorSupport(environment, std::nullopt), language);
    if (const auto size = terminal::WindowSize::ofTerminal()) {
        description += separator + std::to_string(size->width) + "\xC3\x97" + std::to_string(size->height);  // ×
    }
    return description;
}

}  // namespace tarv::app::DoctorCommand
