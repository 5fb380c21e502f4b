#include "TarvCore/Models/ConflictDocument.hpp"

#include <gtest/gtest.h>

using namespace tarv::core;
using Doc = ConflictDocument;
using Text = Doc::Segment::Text;
using Conflict = Doc::Segment::Conflict;
using Lines = std::vector<std::string>;

namespace {

const std::string twoSided =
    "intro\n"
    "<<<<<<< HEAD\n"
    "mine 1\n"
    "mine 2\n"
    "=======\n"
    "theirs\n"
    ">>>>>>> feature\n"
    "outro\n";

}  // namespace

TEST(ConflictDocument, EmptyAndPlainTexts) {
    const Doc empty = Doc::parse("");
    EXPECT_TRUE(empty.segments.empty());
    EXPECT_TRUE(empty.endsWithNewline);
    EXPECT_EQ(empty.render(), "");

    const Doc plain = Doc::parse("a\nb");
    EXPECT_EQ(plain, (Doc{{Text{{"a", "b"}}}, false}));
    EXPECT_EQ(plain.render(), "a\nb");
    EXPECT_EQ(Doc::parse("a\nb\n").render(), "a\nb\n");
    EXPECT_EQ(Doc::parse("\n\n").render(), "\n\n");
    EXPECT_FALSE(plain.hasConflicts());
}

TEST(ConflictDocument, ParsesABlockWithLabelsAndRows) {
    const Doc doc = Doc::parse(twoSided);
    const ConflictBlock block{{"mine 1", "mine 2"}, {"theirs"}, "HEAD", "feature"};
    EXPECT_EQ(doc, (Doc{{Text{{"intro"}}, Conflict{block}, Text{{"outro"}}}, true}));
    EXPECT_EQ(doc.conflictCount(), 1);
    EXPECT_EQ(doc.blocks(), std::vector<ConflictBlock>{block});

    const std::vector<ConflictRow> rows = {
        ConflictRow::Context{"intro"},  ConflictRow::Header{0},         ConflictRow::Actions{0},
        ConflictRow::CurrentLabel{0},   ConflictRow::Current{0, "mine 1"}, ConflictRow::Current{0, "mine 2"},
        ConflictRow::IncomingLabel{0},  ConflictRow::Incoming{0, "theirs"}, ConflictRow::Context{"outro"},
    };
    EXPECT_EQ(doc.rows(), rows);
    EXPECT_EQ(doc.headerRow(0), 1);
    EXPECT_EQ(doc.headerRow(1), std::nullopt);
    EXPECT_EQ(doc.headerRow(-1), std::nullopt);
    EXPECT_EQ(doc.render(), twoSided);
}

TEST(ConflictDocument, Diff3BaseSectionIsDropped) {
    const Doc diff3 = Doc::parse("<<<<<<< HEAD\na\n||||||| base\norig\n|||||||\nmore\n=======\nb\n>>>>>>> x\n");
    const Doc plain = Doc::parse("<<<<<<< HEAD\na\n=======\nb\n>>>>>>> x\n");
    EXPECT_EQ(diff3, plain);
    EXPECT_EQ(diff3.render(), "<<<<<<< HEAD\na\n=======\nb\n>>>>>>> x\n");
}

TEST(ConflictDocument, UnterminatedBlocksStayText) {
    for (const char* text : {"<<<<<<< a\nx\ny\n", "<<<<<<< a\nx\n=======\ny\n", "<<<<<<<", "<<<<<<<\n"}) {
        const Doc doc = Doc::parse(text);
        EXPECT_FALSE(doc.hasConflicts()) << text;
        EXPECT_EQ(doc.render(), text);
    }
    // A complete block after an opening marker that never closes on its own:
    // the later marker's block takes the first separator and closing marker.
    const Doc later = Doc::parse("<<<<<<< a\nx\n<<<<<<< b\ny\n=======\nz\n>>>>>>> c\n");
    EXPECT_EQ(later, (Doc{{Conflict{ConflictBlock{{"x", "<<<<<<< b", "y"}, {"z"}, "a", "c"}}}, true}));
}

TEST(ConflictDocument, MarkerRecognition) {
    // "=======" followed by anything is a current-side line; an opening marker
    // with a label but no blank is not a marker; the first closing marker of
    // the incoming side ends the block.
    const std::string text = "<<<<<<<HEAD\n<<<<<<<\n======= \nx\n=======\n>>>>>>>\n>>>>>>> \n";
    const Doc doc = Doc::parse(text);
    EXPECT_EQ(doc, (Doc{{Text{{"<<<<<<<HEAD"}}, Conflict{ConflictBlock{{"======= ", "x"}, {}, "", ""}},
                         Text{{">>>>>>> "}}},
                        true}));
    EXPECT_EQ(doc.render(), text);
    EXPECT_EQ(doc.rows().size(), 1u + 6u + 1u);
}

TEST(ConflictDocument, CarriageReturns) {
    const std::string crlf = "a\r\n<<<<<<< HEAD\r\nm\r\n=======\r\nt\r\n>>>>>>> br \r\nz\r\n";
    const Doc doc = Doc::parse(crlf);
    EXPECT_EQ(doc, (Doc{{Text{{"a\r"}}, Conflict{ConflictBlock{{"m\r"}, {"t\r"}, "HEAD", "br"}}, Text{{"z\r"}}}, true}));
    EXPECT_EQ(doc.render(), "a\r\n<<<<<<< HEAD\nm\r\n=======\nt\r\n>>>>>>> br\nz\r\n");
    EXPECT_EQ(doc.resolving(0, ConflictChoice::current).render(), "a\r\nm\r\nz\r\n");
}

TEST(ConflictDocument, Resolving) {
    const Doc doc = Doc::parse(twoSided);
    const Doc both = doc.resolving(0, ConflictChoice::both);
    EXPECT_EQ(both, (Doc{{Text{{"intro", "mine 1", "mine 2", "theirs", "outro"}}}, true}));
    EXPECT_FALSE(both.hasConflicts());
    EXPECT_EQ(both.headerRow(0), std::nullopt);
    EXPECT_EQ(doc.resolving(0, ConflictChoice::incoming).render(), "intro\ntheirs\noutro\n");
    EXPECT_EQ(doc.resolving(doc.conflictCount(), ConflictChoice::current), doc);
    EXPECT_EQ(doc.resolving(-1, ConflictChoice::current), doc);

    // Two blocks: resolving the second leaves the first and counts from 0.
    const Doc two = Doc::parse("<<<<<<<\na\n=======\nb\n>>>>>>>\nmid\n<<<<<<<\nc\n=======\n>>>>>>>\n");
    const Doc second = two.resolving(1, ConflictChoice::incoming);
    EXPECT_EQ(second.conflictCount(), 1);
    EXPECT_EQ(second.render(), "<<<<<<<\na\n=======\nb\n>>>>>>>\nmid\n");
    EXPECT_EQ(two.rows().size(), 6u + 1u + 5u);
    EXPECT_EQ(two.headerRow(1), 7);

    // An empty side removes the block; the texts around it join.
    const Doc joined = Doc::parse("x\n<<<<<<<\n=======\ny\n>>>>>>>\nz").resolving(0, ConflictChoice::current);
    EXPECT_EQ(joined, (Doc{{Text{{"x", "z"}}}, false}));
    EXPECT_EQ(ConflictBlock({{"a"}, {"b"}, "", ""}).lines(ConflictChoice::both), (Lines{"a", "b"}));

    // Merging also drops empty text segments of a document built by hand.
    const Doc handmade{{Text{{}}, Text{{"a"}}, Text{{"b"}}}, true};
    EXPECT_EQ(handmade.resolving(0, ConflictChoice::both), (Doc{{Text{{"a", "b"}}}, true}));
}

TEST(ConflictDocument, ManyUnterminatedMarkersParseInLinearTime) {
    std::string text;
    for (int i = 0; i < 50000; ++i) text += "<<<<<<< x\n";
    const Doc doc = Doc::parse(text);
    EXPECT_FALSE(doc.hasConflicts());
    EXPECT_EQ(doc.render(), text);
}
