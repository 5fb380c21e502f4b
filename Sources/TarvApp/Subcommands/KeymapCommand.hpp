#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "TarvCore/Localization/Language.hpp"
#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Ports/KeymapStore.hpp"
#include "TarvCore/Rules/KeymapRules.hpp"

namespace tarv::app::KeymapCommand {

// The user's keymap file as `tarv keymap` reports it.
struct Loaded {
    bool exists = false;
    // The file exists but could not be read or parsed: nothing of it
    // applies.
    bool malformed = false;
    core::KeymapRules::Resolved resolved;
};

// One command and the text of its shortcut, absent when no key reaches it.
struct Shortcut {
    core::AppCommand command;
    std::optional<std::string> keys;
};

// Reads and resolves the file; never throws.
Loaded load(core::KeymapStore& store);

// The subcommand's lines: the file line, "  ✗ " lines for a malformed file
// and for each problem, an empty line, one row per command (identifier padded
// to the longest, the shortcut or "—" padded to 6 characters, the command's
// description), an empty line and the usage hint. Widths count characters.
// Every line is inert: nothing the file or the environment holds reaches the
// terminal as a control sequence.
std::vector<std::string> lines(const std::string& path, const Loaded& loaded, const std::vector<Shortcut>& shortcuts,
                               core::Language language);

// The lines for the effective keymap of `store`.
std::vector<std::string> render(core::KeymapStore& store, core::Language language);

// `render` for the user's own keymap file (the configuration folder of the
// home folder and the environment).
std::vector<std::string> renderForUser(const std::map<std::string, std::string>& environment,
                                       core::Language language);

}  // namespace tarv::app::KeymapCommand
