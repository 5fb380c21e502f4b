#include "TarvCore/Rules/GitIgnoreRules.hpp"

#include "TarvCore/Errors/GitError.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;

TEST(GitIgnoreRules, EntryAnchorsAndEscapes) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"build/out *.o ", "/build/out \\*.o\\ "},
        {"a[1].txt", "/a\\[1].txt"},
        {"dir\\file", "/dir\\\\file"},
        {"what?", "/what\\?"},
        {"two  ", "/two\\ \\ "},
        {"tab\t", "/tab\t"},
        {"caf\u00E9", "/caf\u00E9"},
        {"", "/"},
    };
    for (const auto& [path, line] : cases) EXPECT_EQ(GitIgnoreRules::entry(path), line) << path;
}

// A line break would let the path write extra patterns into .gitignore
// ("x\nsecret" would ignore every file named secret).
TEST(GitIgnoreRules, EntryRefusesPathsWithLineBreaks) {
    for (const char* path : {"x\nsecret", "x\rsecret", "trailing\n", "\r\n"}) {
        try {
            GitIgnoreRules::entry(path);
            ADD_FAILURE() << "accepted a line break";
        } catch (const GitError& error) {
            EXPECT_EQ(error, GitError::invalidArgument(std::string(GitIgnoreRules::lineBreakInPathMessage)));
        }
    }
}

TEST(GitIgnoreRules, AddingAppendsOnlyNewLines) {
    const std::string e = "/secret.txt";
    EXPECT_EQ(GitIgnoreRules::adding(e, ""), e + "\n");
    EXPECT_EQ(GitIgnoreRules::adding(e, "a\n"), "a\n" + e + "\n");
    EXPECT_EQ(GitIgnoreRules::adding(e, "a"), "a\n" + e + "\n");
    EXPECT_EQ(GitIgnoreRules::adding(e, "a\r\n"), "a\r\n" + e + "\n");
    EXPECT_EQ(GitIgnoreRules::adding(e, "a\n" + e + "\nb\n"), std::nullopt);
    EXPECT_EQ(GitIgnoreRules::adding(e, "a\r\n" + e + "\r\nb"), std::nullopt);
    EXPECT_EQ(GitIgnoreRules::adding(e, e), std::nullopt);
    EXPECT_EQ(GitIgnoreRules::adding(e, e + " \n"), e + " \n" + e + "\n");
    // A lone carriage return does not end a line.
    EXPECT_EQ(GitIgnoreRules::adding(e, "x\r" + e), "x\r" + e + "\n" + e + "\n");
    // Bytes that are not UTF-8 are kept.
    EXPECT_EQ(GitIgnoreRules::adding(e, std::string("\xE9\n")), std::string("\xE9\n") + e + "\n");
}
