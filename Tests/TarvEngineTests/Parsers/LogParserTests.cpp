#include <gtest/gtest.h>

#include <string>

#include "TarvEngine/Parsers/LogParser.hpp"

namespace tarv::engine {
namespace {

std::string record(std::initializer_list<std::string> fields) {
    std::string out;
    bool first = true;
    for (const auto& field : fields) {
        if (!first) out += '\x1f';
        out += field;
        first = false;
    }
    return out + '\0';
}

TEST(LogParser, FormatIsTheDocumentedPattern) {
    EXPECT_EQ(LogParser::format, "%H%x1f%P%x1f%an%x1f%ae%x1f%at%x1f%s");
    EXPECT_EQ(LogParser::format.size(), 35u);
}

TEST(LogParser, ReadsRecordsInOrder) {
    std::string output = record({"c3", "p1 p2", "Ana", "ana@x", "1700000002", "Merge branch"}) +
                         record({"c2", "", "Bob", "bob@x", "1700000001", "Root"});
    auto commits = LogParser::parse(output);
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_EQ(commits[0], (core::Commit{"c3", {"p1", "p2"}, "Ana", "ana@x", 1700000002, "Merge branch"}));
    EXPECT_EQ(commits[1], (core::Commit{"c2", {}, "Bob", "bob@x", 1700000001, "Root"}));
}

TEST(LogParser, DropsMalformedRecordsAndKeepsTheOthers) {
    std::string output = record({"a", "", "n", "e", "1", "kept"}) + record({"b", "", "n", "e", "1"}) +
                         record({"c", "", "n", "e", "", "empty time"}) + record({"d", "", "n", "e", "12x", "bad"}) +
                         record({"e", "", "n", "e", "99999999999999999999", "overflow"}) +
                         record({"f", "", "n", "e", "-5", "negative kept"});
    auto commits = LogParser::parse(output);
    ASSERT_EQ(commits.size(), 2u);
    EXPECT_EQ(commits[0].summary, "kept");
    EXPECT_EQ(commits[1].timestamp, -5);
}

TEST(LogParser, SubjectKeepsSeparatorsAndFieldsKeepBlanks) {
    auto commits = LogParser::parse(record({"\n sha \t", " p1  p2 ", " Ana ", " a@x ", "+7", "a\x1f" "b \xff"}));
    ASSERT_EQ(commits.size(), 1u);
    EXPECT_EQ(commits[0], (core::Commit{"sha", {"p1", "p2"}, " Ana ", " a@x ", 7, "a\x1f" "b \xff"}));
}

}  // namespace
}  // namespace tarv::engine
