#include "TarvCore/Rules/KeymapRules.hpp"

#include "TarvCore/Rules/KeyChordParser.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using Key = KeyChord::Key;

namespace {

KeymapFile file(std::map<std::string, std::vector<std::string>> bindings, std::int64_t version = 1) {
    return KeymapFile{version, std::move(bindings)};
}

KeyChord chord(const std::string& text) { return *KeyChordParser::parse(text); }

}  // namespace

TEST(KeymapRules, NoFileGivesTheEmptyResolution) {
    EXPECT_EQ(KeymapRules::resolve(std::nullopt), KeymapRules::Resolved());
}

TEST(KeymapRules, NewerVersionIsIgnoredAsAWhole) {
    const auto resolved = KeymapRules::resolve(file({{"commit", {"ctrl+k"}}, {"bogus", {}}}, 2));
    EXPECT_TRUE(resolved.overrides.empty());
    ASSERT_EQ(resolved.problems.size(), 1u);
    EXPECT_EQ(resolved.problems[0], KeymapProblem(KeymapProblem::UnsupportedVersion{2}));

    for (std::int64_t version : {0, -5, 1}) {
        const auto accepted = KeymapRules::resolve(file({{"commit", {"ctrl+k"}}}, version));
        EXPECT_EQ(accepted.overrides.at(AppCommand::commit), std::vector<KeyChord>{chord("ctrl+k")});
        EXPECT_TRUE(accepted.problems.empty());
    }
}

TEST(KeymapRules, EmptyListUnbindsAndRejectedListKeepsDefaults) {
    auto resolved = KeymapRules::resolve(file({{"commit", {}}}));
    EXPECT_EQ(resolved.overrides.at(AppCommand::commit), std::vector<KeyChord>{});

    resolved = KeymapRules::resolve(file({{"commit", {"ctrl+"}}}));
    EXPECT_FALSE(resolved.overrides.contains(AppCommand::commit));
    ASSERT_EQ(resolved.problems.size(), 1u);
    EXPECT_EQ(resolved.problems[0], KeymapProblem(KeymapProblem::InvalidKey{"commit", "ctrl+"}));
}

TEST(KeymapRules, UnknownAndReservedKeys) {
    const auto resolved = KeymapRules::resolve(file({
        {"Commit", {"ctrl+k"}},
        {"quit", {"ctrl+q", "ctrl+alt+q"}},
        {"push", {"tab", "home"}},
        {"pull", {"ctrl+C", "ctrl+z", "up", "space", "enter", "esc", "backspace", "del", "down",
                  "left", "right"}},
    }));
    EXPECT_EQ(resolved.overrides.at(AppCommand::quit), std::vector<KeyChord>{chord("ctrl+alt+q")});
    EXPECT_EQ(resolved.overrides.at(AppCommand::push), std::vector<KeyChord>{chord("home")});
    EXPECT_FALSE(resolved.overrides.contains(AppCommand::pull));
    std::size_t reserved = 0;
    for (const auto& p : resolved.problems)
        reserved += std::holds_alternative<KeymapProblem::ReservedKey>(p.value);
    EXPECT_EQ(reserved, 13u);
    EXPECT_EQ(resolved.problems.back(), KeymapProblem(KeymapProblem::UnknownCommand{"Commit"}));
}

TEST(KeymapRules, ReservedChords) {
    EXPECT_TRUE(KeymapRules::isReserved(chord("ctrl+Q")));
    EXPECT_FALSE(KeymapRules::isReserved(chord("ctrl+alt+q")));
    EXPECT_FALSE(KeymapRules::isReserved(chord("alt+tab")));
    EXPECT_TRUE(KeymapRules::isReserved(chord("tab")));
    EXPECT_FALSE(KeymapRules::isReserved(chord("ctrl+tab")));
    for (const char* free : {"home", "end", "pgup", "pgdn", "f1", "q", "Q", "ctrl+x"})
        EXPECT_FALSE(KeymapRules::isReserved(chord(free))) << free;
}

TEST(KeymapRules, SameChordTwiceInOneCommandIsAcceptedOnce) {
    const auto resolved = KeymapRules::resolve(file({{"commit", {"ctrl+x", "control+X", "ctrl+x"}}}));
    EXPECT_EQ(resolved.overrides.at(AppCommand::commit), std::vector<KeyChord>{chord("ctrl+x")});
    EXPECT_TRUE(resolved.problems.empty());
}

TEST(KeymapRules, ChordBoundByTwoCommandsBindsNothing) {
    const auto resolved = KeymapRules::resolve(file({{"push", {"ctrl+k", "ctrl+p"}}, {"commit", {"ctrl+k"}}}));
    ASSERT_EQ(resolved.problems.size(), 1u);
    EXPECT_EQ(resolved.problems[0],
              KeymapProblem(KeymapProblem::DuplicateKey{"\u2303K", {"commit", "push"}}));
    EXPECT_FALSE(resolved.overrides.contains(AppCommand::commit));
    EXPECT_EQ(resolved.overrides.at(AppCommand::push), std::vector<KeyChord>{chord("ctrl+p")});
}

TEST(KeymapRules, ProblemsAreOrderedByKindThenPayload) {
    const auto resolved = KeymapRules::resolve(file({
        {"zzz", {}},
        {"aaa", {}},
        {"quit", {"ctrl+q"}},
        {"fetch", {"ctrl+", "bad key"}},
        {"commit", {"x+y"}},
        {"push", {"ctrl+k", "alt+1"}},
        {"pull", {"ctrl+k", "alt+1"}},
        {"sync", {"alt+1"}},
    }));
    std::vector<KeymapProblem> expected = {
        KeymapProblem::DuplicateKey{"\u2303K", {"pull", "push"}},
        KeymapProblem::DuplicateKey{"\u23251", {"pull", "push", "sync"}},
        KeymapProblem::InvalidKey{"commit", "x+y"},
        KeymapProblem::InvalidKey{"fetch", "bad key"},
        KeymapProblem::InvalidKey{"fetch", "ctrl+"},
        KeymapProblem::ReservedKey{"quit", "ctrl+q"},
        KeymapProblem::UnknownCommand{"aaa"},
        KeymapProblem::UnknownCommand{"zzz"},
    };
    EXPECT_EQ(resolved.problems, expected);
    EXPECT_FALSE(resolved.overrides.contains(AppCommand::push));
    EXPECT_FALSE(resolved.overrides.contains(AppCommand::pull));
    EXPECT_FALSE(resolved.overrides.contains(AppCommand::sync));
}
