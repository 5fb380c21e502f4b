#include <gtest/gtest.h>

#include "TarvCore/Models/CommitMessage.hpp"
#include "TarvCore/Models/CommitSelection.hpp"

namespace tarv::core {
namespace {

TEST(CoAuthorTest, ParsesANameAndAnAddressInAngleBrackets) {
    struct Row {
        const char* input;
        std::optional<CoAuthor> expected;
    };
    const std::vector<Row> rows = {
        {"  Ada  Lovelace   <  ada@example.com  >  ", CoAuthor{"Ada  Lovelace", "ada@example.com"}},
        {"Ada <ada@example.com>", CoAuthor{"Ada", "ada@example.com"}},
        {"\xC3\x89mile <e@x.fr>\n", CoAuthor{"\xC3\x89mile", "e@x.fr"}},
        {"Ada <ada@example.com", std::nullopt},             // no closing ">"
        {"<ada@example.com>", std::nullopt},                // empty name
        {"Ada <ada.example.com>", std::nullopt},            // no "@"
        {"Ada <ada @example.com>", std::nullopt},           // space in the address
        {"Ada < more <ada@example.com>", std::nullopt},     // the name still holds a "<"
        {"Ada > x <ada@example.com>", std::nullopt},        // ">" in the name
        {"Ada <ada@example.com> >", std::nullopt},          // stray ">" ends up in the address
        {"Ada\rB <ada@example.com>", std::nullopt},         // carriage return in the name
        {"Ada\r\nEvil: x <ada@example.com>", std::nullopt},  // a CR LF pair would break the trailer line
        {"Ada <ada@ex\r\nample.com>", std::nullopt},
        {"Ada <ada@ex\nample.com>", std::nullopt},          // line feed in the address
        {"Ada ada@example.com", std::nullopt},              // no brackets at all
        {"", std::nullopt},
    };
    for (const auto& r : rows) EXPECT_EQ(CoAuthor::parse(r.input), r.expected) << testing::PrintToString(r.input);
}

TEST(CoAuthorTest, TrailerIsNotTrimmedOrEscaped) {
    EXPECT_EQ((CoAuthor{" Ada ", "a@b"}).trailer(), "Co-authored-by:  Ada  <a@b>");
}

TEST(CommitMessageTest, FullTextFollowsTheTrailerRules) {
    const CoAuthor ada{"Ada", "ada@example.com"};
    const std::string adaTrailer = "Co-authored-by: Ada <ada@example.com>";
    const CoAuthor bob{"Bob", "bob@example.com"};
    const std::string bobTrailer = "Co-authored-by: Bob <bob@example.com>";
    struct Row {
        const char* name;
        CommitMessage message;
        std::string expected;
    };
    const std::vector<Row> rows = {
        {"summary alone, trimmed", {"  Fix  "}, "Fix"},
        {"summary and body", {"Fix", "  Details\n\n"}, "Fix\n\nDetails"},
        {"body and co-author", {"Fix", "Details", {ada}}, "Fix\n\nDetails\n\n" + adaTrailer},
        {"no body, co-author", {"Fix", "", {ada}}, "Fix\n\n" + adaTrailer},
        {"white-space body counts as none", {"Fix", " \n\t", {ada}}, "Fix\n\n" + adaTrailer},
        {"sign-off continues the trailer block",
         {"Fix", "Body\n\nSigned-off-by: Me <me@x>", {ada}},
         "Fix\n\nBody\n\nSigned-off-by: Me <me@x>\n" + adaTrailer},
        {"key with a numeral and a space", {"Fix", "Body\nNote 2: see above", {ada}},
         "Fix\n\nBody\nNote 2: see above\n\n" + adaTrailer},
        {"key of letters only", {"Fix", "Fixes: #12", {ada}}, "Fix\n\nFixes: #12\n" + adaTrailer},
        {"a colon but never colon-space", {"Fix", "See https://example.com/x", {ada}},
         "Fix\n\nSee https://example.com/x\n\n" + adaTrailer},
        {"empty key", {"Fix", "Body\n: value", {ada}}, "Fix\n\nBody\n: value\n\n" + adaTrailer},
        {"leading colon skipped to the next piece", {"Fix", "::Key: value", {ada}},
         "Fix\n\n::Key: value\n" + adaTrailer},
        {"trailing empty lines of the body ignored", {"Fix", "Acked-by: X\n\n\n", {ada}},
         "Fix\n\nAcked-by: X\n" + adaTrailer},
        {"CR LF body still ends with a trailer", {"Fix", "Body\r\nAcked-by: X", {ada}},
         "Fix\n\nBody\r\nAcked-by: X\n" + adaTrailer},
        {"trailer already in the body", {"Fix", "Body\n\n" + adaTrailer, {ada, bob}},
         "Fix\n\nBody\n\n" + adaTrailer + "\n" + bobTrailer},
        {"every trailer already there", {"Fix", "Body\n\n" + adaTrailer, {ada}}, "Fix\n\nBody\n\n" + adaTrailer},
        {"duplicated co-authors give duplicated trailers", {"Fix", "", {ada, ada}},
         "Fix\n\n" + adaTrailer + "\n" + adaTrailer},
    };
    for (const auto& r : rows) EXPECT_EQ(r.message.fullText(), r.expected) << r.name;
}

TEST(CommitSelectionTest, EmptyOnlyWithoutPathsAndPartials) {
    EXPECT_TRUE(CommitSelection{}.isEmpty());
    EXPECT_FALSE((CommitSelection{{}, {PartialSelection{"a", false, Diff::empty, {}}}}).isEmpty());
    EXPECT_FALSE((CommitSelection{{"a"}}).isEmpty());
}

TEST(PartialSelectionTest, LineOrderCarriesNoMeaning) {
    const PartialSelection a{"f", true, Diff::empty, {{0, 2}, {1, 0}}};
    const PartialSelection b{"f", true, Diff::empty, {{1, 0}, {0, 2}}};
    EXPECT_EQ(a, b);
}

}  // namespace
}  // namespace tarv::core
