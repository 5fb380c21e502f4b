#include "TarvApp/Subcommands/Probe/ProbeRenderer.hpp"

#include <algorithm>
#include <chrono>

#include "TarvCore/Localization/Text.hpp"
#include "TarvTerminal/Backend/TerminalProbe.hpp"

namespace tarv::app::ProbeRenderer {
namespace {

using core::Text;
using terminal::MouseEvent;
using terminal::TerminalProbeClick;
using terminal::TerminalProbeReport;

const std::string bullet = " \xC2\xB7 ";  // " · "

std::string modeName(std::int64_t mode) {
    const auto& names = modeNames();
    const auto found = names.find(mode);
    return found != names.end() ? found->second : "?" + std::to_string(mode);
}

std::string encodingName(TerminalProbeClick::Encoding encoding) {
    switch (encoding) {
    case TerminalProbeClick::Encoding::sgr: return "SGR (1006)";
    case TerminalProbeClick::Encoding::x10: return "X10";
    case TerminalProbeClick::Encoding::unknown: break;
    }
    return "?";
}

std::string arrow(MouseEvent::Direction direction) {
    switch (direction) {
    case MouseEvent::Direction::up: return "\xE2\x86\x91";     // ↑
    case MouseEvent::Direction::down: return "\xE2\x86\x93";   // ↓
    case MouseEvent::Direction::left: return "\xE2\x86\x90";   // ←
    case MouseEvent::Direction::right: return "\xE2\x86\x92";  // →
    }
    return "?";
}

}  // namespace

const std::map<std::int64_t, std::string>& modeNames() {
    static const std::map<std::int64_t, std::string> names{
        {1000, "rat\xC3\xB3n ?1000 "},  {1002, "arrastre ?1002"}, {1004, "foco ?1004  "},
        {1006, "rat\xC3\xB3n SGR ?1006"}, {2004, "pegado ?2004"},   {2026, "sync ?2026  "},
    };
    return names;
}

std::vector<std::string> capabilities(const TerminalProbeReport& report, core::Language language) {
    std::vector<std::string> lines;
    const Text attributes = report.deviceAttributes ? Text::probeDeviceAttributes(*report.deviceAttributes)
                                                    : Text::probeNoDeviceAttributes();
    lines.push_back(bullet + attributes.render(language));
    for (const std::int64_t mode : terminal::TerminalProbe::probedModes) {
        const std::string name = modeName(mode);
        const TerminalProbeReport::ModeState state = report.mode(mode);
        const Text text = state == TerminalProbeReport::ModeState::noAnswer ? Text::probeModeNoAnswer(name)
                          : TerminalProbeReport::isSupported(state)         ? Text::probeModeSupported(name)
                                                                            : Text::probeModeUnsupported(name);
        lines.push_back(bullet + text.render(language));
    }
    lines.push_back(bullet + Text::probeTrueColor(report.keepsTrueColor).render(language));
    return lines;
}

std::vector<std::string> colorSwatch(core::Language language, int width) {
    std::string cells = "   ";
    const int cellCount = std::max(width, 0);
    const int span = std::max(1, cellCount - 1);
    for (int i = 0; i < cellCount; ++i) {
        const int v = i * 255 / span;
        cells += "\x1b[48;2;" + std::to_string(v) + ";64;" + std::to_string(255 - v) + "m ";
    }
    cells += "\x1b[0m";
    return {bullet + Text::probeColorSwatch().render(language), cells};
}

std::string click(const std::optional<TerminalProbeClick>& click, core::Language language) {
    if (!click) return bullet + Text::probeClickSkipped().render(language);
    return bullet + Text::probeClick(encodingName(click->encoding), click->position.x, click->position.y)
                        .render(language);
}

std::vector<std::string> wheel(const terminal::WheelSummary& summary, core::Language language) {
    if (summary.gestures.empty()) return {Text::scrollProbeEmpty().render(language)};
    std::vector<std::string> lines;
    const auto count = static_cast<std::int64_t>(summary.gestures.size());
    lines.push_back(Text::scrollProbeTotals(summary.totalEvents(), count).render(language));
    std::int64_t index = 0;
    for (const auto& gesture : summary.gestures) {
        ++index;
        lines.push_back(bullet + Text::scrollProbeGesture(index, gesture.events, gesture.duration.count(),
                                                          gesture.longestGap.count(), arrow(gesture.direction))
                                     .render(language));
    }
    return lines;
}

}  // namespace tarv::app::ProbeRenderer
