#include "TarvCore/Rules/SyntaxHighlighter.hpp"

#include <gtest/gtest.h>

#include <array>

using namespace tarv::core;
using Kind = SyntaxToken::Kind;
using L = SyntaxLanguage;
using Tokens = std::vector<SyntaxToken>;

TEST(SyntaxLanguage, Detect) {
    const std::vector<std::pair<std::string, std::optional<L>>> cases = {
        {"src/App.Swift", L::swift},   {"Makefile.am", std::nullopt}, {"dir/Dockerfile", L::shell},
        {".bashrc", L::shell},         {".gitignore", std::nullopt},  {"README", std::nullopt},
        {"archive.tar.gz", std::nullopt}, {"x/Gemfile", L::ruby},     {"a/b/main.CPP", L::cLike},
        {"lib.rs", L::rust},           {"index.mts", L::javascript},  {"types.pyi", L::python},
        {"x.podspec", L::ruby},        {"run.command", L::shell},     {"map.geojson", L::json},
        {"ci.yml", L::yaml},           {"q.sql", L::sql},             {"main.go", L::go},
        {"name.", std::nullopt},       {"dir/", std::nullopt},        {"dir.swift/", L::swift},
        {"makefile", L::shell},        {"MAKEFILE", std::nullopt},    {"", std::nullopt},
        {"/", std::nullopt},           {".bashrc.swift", L::swift},
    };
    for (const auto& [path, expected] : cases) EXPECT_EQ(detectSyntaxLanguage(path), expected) << path;
}

TEST(SyntaxLanguage, KeywordSetSizes) {
    const std::array<std::pair<L, std::size_t>, 10> sizes = {{
        {L::swift, 70}, {L::cLike, 86}, {L::go, 28}, {L::rust, 38}, {L::javascript, 53},
        {L::python, 36}, {L::ruby, 37}, {L::shell, 23}, {L::json, 7}, {L::sql, 52},
    }};
    std::size_t total = 0;
    for (const auto& [language, size] : sizes) {
        EXPECT_EQ(syntaxKeywords(language).size(), size);
        total += size;
    }
    EXPECT_EQ(total, 430u);
    EXPECT_EQ(&syntaxKeywords(L::json), &syntaxKeywords(L::yaml));
    EXPECT_TRUE(syntaxKeywords(L::swift).contains("#expect"));
    EXPECT_TRUE(syntaxKeywords(L::ruby).contains("defined?"));
    EXPECT_EQ(syntaxStringDelimiters(L::go), "\"'`");
    EXPECT_EQ(syntaxStringDelimiters(L::swift), "\"");
}

TEST(SyntaxHighlighter, Tokens) {
    struct Case {
        L language;
        std::string line;
        Tokens expected;
    };
    const std::vector<Case> cases = {
        {L::swift, "let x = 42 // answer", {{0, 3, Kind::keyword}, {8, 2, Kind::number}, {11, 9, Kind::comment}}},
        {L::swift, "   * note", {{3, 6, Kind::comment}}},
        {L::swift, "\t*", {{1, 1, Kind::comment}}},
        {L::swift, " */ let", {{1, 6, Kind::comment}}},
        {L::cLike, "   *p = 1", {{8, 1, Kind::number}}},
        {L::cLike, "/* a */ int b;", {{0, 7, Kind::comment}, {8, 3, Kind::keyword}}},
        {L::cLike, "/* open", {{0, 7, Kind::comment}}},
        {L::cLike, "#include <vector>", {{0, 8, Kind::keyword}}},
        {L::cLike, "char c = 'x'; // \"q\"", {{0, 4, Kind::keyword}, {9, 3, Kind::string}, {14, 6, Kind::comment}}},
        {L::python, "s = 'it\\'s' # c", {{4, 7, Kind::string}, {12, 3, Kind::comment}}},
        {L::shell, "echo $#", {{0, 4, Kind::keyword}}},
        {L::shell, "echo a # c", {{0, 4, Kind::keyword}, {7, 3, Kind::comment}}},
        {L::shell, "# all", {{0, 5, Kind::comment}}},
        {L::json, "{\"a\": true, \"b\": 1.5}",
         {{1, 3, Kind::string}, {6, 4, Kind::keyword}, {12, 3, Kind::string}, {17, 3, Kind::number}}},
        {L::json, "// no comments", {{3, 2, Kind::keyword}}},
        {L::sql, "SELECT * FROM t -- all", {{0, 6, Kind::keyword}, {9, 4, Kind::keyword}, {16, 6, Kind::comment}}},
        {L::ruby, "x.empty? && Foo", {{12, 3, Kind::type}}},
        {L::ruby, "defined?(x)", {{0, 8, Kind::keyword}}},
        {L::swift, "\"abc", {{0, 4, Kind::string}}},
        {L::swift, "\"a\\", {{0, 3, Kind::string}}},
        {L::swift, "", {}},
        {L::swift, "   ", {}},
        {L::swift, "0x1F 1_000 3.14 10px 1.x", {{0, 4, Kind::number}, {5, 5, Kind::number}, {11, 4, Kind::number},
                                               {16, 4, Kind::number}, {21, 1, Kind::number}}},
        {L::swift, "a1 _2 x.5", {{8, 1, Kind::number}}},
        {L::swift, "3.", {{0, 1, Kind::number}}},
        {L::swift, "String _Foo #Foo $Foo @Foo foo", {{0, 6, Kind::type}, {7, 4, Kind::type}, {12, 4, Kind::type},
                                                    {17, 4, Kind::type}}},
        {L::swift, "@MainActor Self", {{0, 10, Kind::keyword}, {11, 4, Kind::keyword}}},
        {L::shell, "Foo", {}},
        {L::go, "`raw` 'r'", {{0, 5, Kind::string}, {6, 3, Kind::string}}},
        {L::yaml, "key: yes #c", {{5, 3, Kind::keyword}, {9, 2, Kind::comment}}},
        {L::yaml, "a#b", {}},
        // Positions count characters, not bytes.
        {L::swift, "let \u00E9 = \"e\u0301\" // \U0001F600",
         {{0, 3, Kind::keyword}, {8, 3, Kind::string}, {12, 4, Kind::comment}}},
        // A non-ASCII numeral after a full stop carries the full stop into the number.
        {L::swift, "1.\u0663", {{0, 2, Kind::number}}},
        {L::swift, "caf\u00E9Type", {{4, 4, Kind::type}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SyntaxHighlighter::tokens(c.line, c.language), c.expected) << c.line;
    }
}
