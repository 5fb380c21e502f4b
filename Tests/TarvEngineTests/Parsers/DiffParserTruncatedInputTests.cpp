#include <gtest/gtest.h>

#include <string>

#include "TarvEngine/Parsers/DiffParser.hpp"

namespace tarv::engine {
namespace {

// A hunk header that is the very last line (no line feed after it) and
// announces huge counts must not make the parser reserve room for them.
TEST(DiffParserTruncatedInput, HeaderOnTheLastLineWithHugeCounts) {
    for (std::string input : {std::string("@@ -1,999999999999 +1,999999999999 @@"),
                              std::string("@@ -1,999999999999 +1,999999999999 @@\n"),
                              std::string("diff --git a/x b/x\n@@ -0,0 +1,3 @@")}) {
        auto diff = DiffParser::parseBytes(reinterpret_cast<const std::uint8_t*>(input.data()), input.size());
        ASSERT_EQ(diff.hunks.size(), 1u) << input;
        EXPECT_TRUE(diff.hunks[0].lines.empty()) << input;
    }
}

}  // namespace
}  // namespace tarv::engine
