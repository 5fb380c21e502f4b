#include "TarvApp/Subcommands/Probe/ProbeCommand.hpp"

#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "TarvApp/Subcommands/Probe/ProbeRenderer.hpp"
#include "TarvApp/Subcommands/Probe/ProbeTerminalGuard.hpp"
#include "TarvCore/Localization/Text.hpp"
#include "TarvTerminal/Backend/TerminalError.hpp"
#include "TarvTerminal/Backend/TerminalOutput.hpp"
#include "TarvTerminal/Backend/TerminalProbe.hpp"
#include "TarvTerminal/Backend/WheelSummary.hpp"

namespace tarv::app::ProbeCommand {
namespace {

using core::Text;
namespace TerminalProbe = terminal::TerminalProbe;

void print(const std::string& line) { terminal::TerminalOutput::writeAll(1, line + "\n"); }

void print(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) out += line + "\n";
    terminal::TerminalOutput::writeAll(1, out);
}

int notATTY(core::Language language) {
    terminal::TerminalOutput::writeAll(2, Text::probeNotATTY().render(language) + "\n");
    return 1;
}

bool hasTerminal() { return isatty(0) == 1 && isatty(1) == 1; }

}  // namespace

int probe(core::Language language, Timing timing) {
    if (!hasTerminal()) return notATTY(language);
    const ProbeTerminalGuard guard;
    print("\n" + Text::probeTitle().render(language));
    terminal::TerminalProbeReport report;
    try {
        report = TerminalProbe::queryCapabilities();
    } catch (const terminal::TerminalError&) {
        return notATTY(language);
    }
    print(ProbeRenderer::capabilities(report, language));
    print(ProbeRenderer::colorSwatch(language, 48));
    print(Text::probeClickPrompt().render(language));
    std::optional<terminal::TerminalProbeClick> click;
    try {
        click = TerminalProbe::waitForClick(timing.clickWait);
    } catch (const terminal::TerminalError&) {
        // Counts as no click.
    }
    print(ProbeRenderer::click(click, language));
    return 0;
}

int scrollProbe(core::Language language, Timing timing) {
    if (!hasTerminal()) return notATTY(language);
    const ProbeTerminalGuard guard;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timing.wheelRecording).count();
    print(Text::scrollProbePrompt(seconds).render(language));
    std::vector<terminal::WheelSample> samples;
    try {
        samples = TerminalProbe::recordWheel(timing.wheelRecording);
    } catch (const terminal::TerminalError&) {
        return notATTY(language);
    }
    print(ProbeRenderer::wheel(terminal::WheelSummary(samples), language));
    return 0;
}

}  // namespace tarv::app::ProbeCommand
