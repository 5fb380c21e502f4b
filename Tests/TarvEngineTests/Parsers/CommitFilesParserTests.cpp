#include <gtest/gtest.h>

#include <string>

#include "TarvEngine/Parsers/CommitFilesParser.hpp"

namespace tarv::engine {
namespace {

using core::ChangeKind;
using core::CommitFile;

std::string nul(std::initializer_list<std::string> tokens) {
    std::string out;
    for (const auto& token : tokens) out += token + '\0';
    return out;
}

TEST(CommitFilesParser, EmptyListings) { EXPECT_TRUE(CommitFilesParser::parse("", "").empty()); }

TEST(CommitFilesParser, JoinsKindsAndCounts) {
    auto files = CommitFilesParser::parse(
        nul({"M", "README", "A", "docs/b.md", "D", "Apple.txt", "R100", "moved", "U", "u", "X", "x",
             "M", "bin.dat", "T", "tab\there"}),
        nul({"3\t1\tREADME", "10\t0\tdocs/b.md", "0\t7\tApple.txt", "-\t-\tbin.dat", "1\t1\ttab\there",
             "bad\t2\tmoved", "only\tone", "9\t9\tREADME"}));
    EXPECT_EQ(files, (std::vector<CommitFile>{
                         {"Apple.txt", ChangeKind::deleted, 0, 7},
                         {"bin.dat", ChangeKind::modified, std::nullopt, std::nullopt},
                         {"docs/b.md", ChangeKind::added, 10, 0},
                         {"moved", ChangeKind::renamed, std::nullopt, 2},
                         {"README", ChangeKind::modified, 9, 9},
                         {"tab\there", ChangeKind::typeChanged, 1, 1},
                         {"u", ChangeKind::modified, std::nullopt, std::nullopt},
                         {"x", ChangeKind::modified, std::nullopt, std::nullopt},
                     }));
}

TEST(CommitFilesParser, OddTokenCountIgnoresTheLastOne) {
    auto files = CommitFilesParser::parse(nul({"M", "a", "M"}), "");
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].path, "a");
    EXPECT_TRUE(CommitFilesParser::parse(nul({"M"}), "").empty());
}

TEST(CommitFilesParser, CaseOnlyDifferencesKeepListingOrder) {
    auto files = CommitFilesParser::parse(nul({"M", "b", "M", "B", "A", "a"}), "");
    std::vector<std::string> paths;
    for (const auto& file : files) paths.push_back(file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{"a", "b", "B"}));
}

}  // namespace
}  // namespace tarv::engine
