// Carrying chosen lines to a newer diff of the same file: each chosen line
// is found again by kind, text and place, lines that appeared since stay
// unchosen, and a choice that cannot be found again is refused whole.
#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "../Diff/DiffFixtures.hpp"
#include "TarvFeatures/Changes/LineCarry.hpp"

namespace tarv::features {
namespace {

using Lines = std::set<core::LineRef>;

using testing::hunkOf;

core::Diff diff(std::vector<core::DiffHunk> hunks) { return core::Diff{false, std::move(hunks)}; }

TEST(LineCarryTest, ChosenLinesAreFoundAgainOrTheChoiceIsRefused) {
    struct Case {
        const char* name;
        core::Diff older;
        Lines chosen;
        core::Diff newer;
        std::optional<Lines> expected;
    };
    // Three hunks; the middle one is chosen.
    const core::Diff three = diff({hunkOf(2, {" a", "-b", "+B", " c"}), hunkOf(20, {" k", "+new k", " l"}),
                                   hunkOf(40, {" x", "-y", " z"})});
    const Lines middle{{1, 1}};
    const Case cases[] = {
        {"the same diff", three, middle, three, middle},
        {"a line typed into the first hunk leaves the middle one as it was",
         three, middle,
         diff({hunkOf(2, {" a", "-b", "+B", "+typed", " c"}), hunkOf(20, {" k", "+new k", " l"}),
               hunkOf(40, {" x", "-y", " z"})}),
         middle},
        {"a new hunk above shifts the chosen one down",
         three, middle,
         diff({hunkOf(0, {"+top"}), hunkOf(2, {" a", "-b", "+B", " c"}), hunkOf(20, {" k", "+new k", " l"}),
               hunkOf(40, {" x", "-y", " z"})}),
         Lines{{2, 1}}},
        {"a line typed next to a chosen one stays unchosen",
         diff({hunkOf(5, {" e", "+one", " f"})}), Lines{{0, 1}},
         diff({hunkOf(5, {" e", "+one", "+two", " f"})}), Lines{{0, 1}}},
        {"a line typed before a chosen one with the same text: the order decides",
         diff({hunkOf(5, {" e", "+x", "+y", " f"})}), Lines{{0, 2}},
         diff({hunkOf(5, {" e", "+y", "+x", "+y", " f"})}), Lines{{0, 3}}},
        {"editing the line after a chosen added line keeps it",
         diff({hunkOf(4, {" d", "+added", " e", " f"})}), Lines{{0, 1}},
         diff({hunkOf(4, {" d", "-e", "+added", "+E", " f"})}), Lines{{0, 2}}},
        {"a chosen removal is found by its old line number when hunks merge",
         diff({hunkOf(3, {" c", "-d", " e"}), hunkOf(9, {" i", "+j", " k"})}), Lines{{0, 1}, {1, 1}},
         diff({hunkOf(3, {" c", "-d", " e", "+typed", " f", " g", " h", " i", "+j", " k"})}), Lines{{0, 1}, {0, 8}}},
        {"unchosen lines that went away do not matter",
         diff({hunkOf(5, {" e", "+keep", "+drop", " f", "-g"})}), Lines{{0, 1}},
         diff({hunkOf(5, {" e", "+keep", " f", " g"})}), Lines{{0, 1}}},
        {"a chosen line that was edited", diff({hunkOf(5, {" e", "+one", " f"})}), Lines{{0, 1}},
         diff({hunkOf(5, {" e", "+One", " f"})}), std::nullopt},
        {"a chosen removal that was put back", three, Lines{{2, 1}},
         diff({hunkOf(2, {" a", "-b", "+B", " c"}), hunkOf(20, {" k", "+new k", " l"})}), std::nullopt},
        {"a chosen line moved elsewhere", diff({hunkOf(5, {" e", "+moved", " f"})}), Lines{{0, 1}},
         diff({hunkOf(5, {" e", "-f"}), hunkOf(30, {" z", "+moved"})}), std::nullopt},
        {"the old side changed under a chosen removal", diff({hunkOf(3, {" c", "-d", " e"})}), Lines{{0, 1}},
         diff({hunkOf(3, {" c", "-D", " e"})}), std::nullopt},
        {"one of two chosen lines is gone", diff({hunkOf(5, {" e", "+one", "+two", " f"})}), Lines{{0, 1}, {0, 2}},
         diff({hunkOf(5, {" e", "+one", " f"})}), std::nullopt},
        {"the file became binary", diff({hunkOf(5, {" e", "+one", " f"})}), Lines{{0, 1}}, core::Diff{true, {}},
         std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LineCarry::carry(c.older, c.chosen, c.newer), c.expected);
    }
}

}  // namespace
}  // namespace tarv::features
