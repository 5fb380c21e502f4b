#pragma once

#include "TarvCore/Models/AppCommand.hpp"
#include "TarvCore/Models/KeyChord.hpp"
#include "TarvCore/Models/KeymapFile.hpp"
#include "TarvCore/Models/KeymapProblem.hpp"

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

namespace tarv::core::KeymapRules {

// The keymap file version this program understands.
inline constexpr std::int64_t currentVersion = 1;

// A keymap file turned into usable overrides and the problems found in it.
struct Resolved {
    // Per command, the chords that replace its defaults; an empty list leaves
    // the command without any key.
    std::map<AppCommand, std::vector<KeyChord>> overrides;
    std::vector<KeymapProblem> problems;

    bool operator==(const Resolved&) const = default;
};

// The chords a user may not take away from the program: ctrl+q, ctrl+c and
// ctrl+z, and the ten navigation keys enter to right without modifiers.
bool isReserved(const KeyChord& chord);

// Validates the file (none when there is no file). Never fails: each defect
// becomes a problem and the defective entry is left out.
Resolved resolve(const std::optional<KeymapFile>& file);

}  // namespace tarv::core::KeymapRules
