#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tarv::terminal {

// What the terminal answered to the capability queries.
struct TerminalProbeReport {
    // The state of a DEC private mode as reported (DECRPM), or `noAnswer`.
    enum class ModeState { set, reset, permanentlySet, permanentlyReset, unrecognized, noAnswer };

    static constexpr bool isSupported(ModeState state) {
        return state == ModeState::set || state == ModeState::reset || state == ModeState::permanentlySet;
    }

    // The body of the primary device attributes answer.
    std::optional<std::string> deviceAttributes;
    std::map<std::int64_t, ModeState> modes;
    // Whether the terminal reported back the 24-bit colour it was given.
    std::optional<bool> keepsTrueColor;

    ModeState mode(std::int64_t number) const {
        const auto it = modes.find(number);
        return it == modes.end() ? ModeState::noAnswer : it->second;
    }

    bool operator==(const TerminalProbeReport&) const = default;
};

inline constexpr std::array<TerminalProbeReport::ModeState, 6> allModeStates{
    TerminalProbeReport::ModeState::set,          TerminalProbeReport::ModeState::reset,
    TerminalProbeReport::ModeState::permanentlySet, TerminalProbeReport::ModeState::permanentlyReset,
    TerminalProbeReport::ModeState::unrecognized, TerminalProbeReport::ModeState::noAnswer};

}  // namespace tarv::terminal
