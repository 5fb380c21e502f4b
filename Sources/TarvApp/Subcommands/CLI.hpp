#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "TarvCore/Localization/Language.hpp"

namespace tarv::app::CLI {

using Environment = std::map<std::string, std::string>;

// The usage text in `language`: 16 lines joined by line feeds, none after
// the last.
std::string_view usage(core::Language language);

// The language of the interface for arguments after the program name (or
// after a subcommand): their "--lang" option, else the environment's.
core::Language interfaceLanguage(const std::vector<std::string>& arguments, const Environment& environment);

// The front door. `arguments` holds every process argument, the program name
// first. In this order: started as "tarv-askpass" or "tarv-ssh-askpass",
// relays the one prompt and nothing else runs; otherwise only the first argument after the program
// name picks a subcommand ("--version"/"-v", "--help"/"-h", "doctor" with an
// optional "--probe" after it, "scroll-probe", "keymap"); anything else
// launches the interface or the gallery with the options. The usage, the
// option errors and the output of "doctor" and "keymap" are in the
// interface's language (a "--lang" option after the subcommand counts); the
// live probes take theirs from the environment only. Returns the exit
// code: 0, 1 (no usable terminal, a failing askpass relay) or 2 (an unknown
// option).
std::int32_t run(const std::vector<std::string>& arguments, const Environment& environment);

// The language of the interface and the subcommands from the environment:
// only the first of LC_ALL, LC_MESSAGES and LANG that is set counts, when its
// value is not empty; otherwise the first of the user's preferred languages
// (LANGUAGE); Spanish when that starts with "es", English otherwise and when
// there is nothing.
core::Language language(const Environment& environment);

// The process environment as a map.
Environment processEnvironment();

// Runs `run` with the process's arguments and environment and ends the
// process with its code.
[[noreturn]] void runAndExit(const std::vector<std::string>& arguments);

}  // namespace tarv::app::CLI
