#include "config/xml.h"

#include <gtest/gtest.h>

#include <string>

#include "fake_platform.h"
#include "temp_dir.h"

namespace {

class Xml : public ::testing::Test {
protected:
    void SetUp() override {
        xml_reset();
        xml_errors.count = 0;
    }
    int scan(const std::string& text) { return xml_tokenize(text.data(), static_cast<long>(text.size())); }
    const XmlNode& node(int i) { return xml_document.nodes[i]; }
    std::string top_error() { return xml_errors.count ? xml_errors.messages[xml_errors.count - 1] : ""; }
};

TEST_F(Xml, NestedElementsGetIdsParentsAndUpperCaseNames) {
    ASSERT_EQ(scan("<config><window><width>800</width></window></config>"), 0);
    ASSERT_EQ(xml_document.node_count, 4);
    EXPECT_EQ(node(0).kind, 1);
    EXPECT_EQ(node(0).parent, 0);
    EXPECT_STREQ(node(0).text, "CONFIG");
    EXPECT_EQ(node(1).kind, 2);
    EXPECT_EQ(node(1).parent, 1);
    EXPECT_STREQ(node(1).text, "WINDOW");
    EXPECT_EQ(node(2).kind, 3);
    EXPECT_EQ(node(2).parent, 2);
    EXPECT_EQ(node(3).kind, xml_kind_text);
    EXPECT_EQ(node(3).parent, 3);
    EXPECT_STREQ(node(3).text, "800");
    EXPECT_EQ(xml_document.current_parent, 0);
}

TEST_F(Xml, ClosingTagsMatchWhateverTheCase) {
    EXPECT_EQ(scan("<Width>1</WIDTH>"), 0);
    EXPECT_EQ(xml_errors.count, 0);
}

TEST_F(Xml, MismatchedCloserNamesTheTagAndLine) {
    EXPECT_EQ(scan("<a>x</b>"), 1);
    EXPECT_EQ(top_error(), "no opener for </B> on line 1\n");
    xml_errors.count = 0;
    xml_reset();
    EXPECT_EQ(scan("<a>\r\n\n x</a></a>"), 1);
    EXPECT_EQ(top_error(), "no opener for </A> on line 3\n");
}

TEST_F(Xml, QuotesProtectAngleBracketsAndStayInTheText) {
    ASSERT_EQ(scan("<window caption='x > y'></window>"), 0);
    ASSERT_EQ(xml_document.node_count, 2);
    EXPECT_STREQ(node(0).text, "WINDOW");
    EXPECT_EQ(node(1).kind, xml_kind_attributes);
    EXPECT_EQ(node(1).parent, 1);
    EXPECT_STREQ(node(1).text, "caption='x > y'");
}

TEST_F(Xml, ApostropheInTextSwallowsTheNextTag) {
    // The quote opened by "it's" makes "</a>" part of the text, so A stays open.
    EXPECT_EQ(scan("<a>it's</a>"), 1);
    xml_reset();
    // A second quote closes it: the next tag counts again.
    ASSERT_EQ(scan("<a>it's</a>'</a>"), 0);
    EXPECT_STREQ(node(1).text, "it's</a>'");
}

TEST_F(Xml, CommentWithGreaterThanOpensAnElement) {
    EXPECT_EQ(scan("<!-- a > b -->"), 1);
    ASSERT_EQ(xml_document.node_count, 2);
    EXPECT_STREQ(node(0).text, "B");
    EXPECT_STREQ(node(1).text, "--");
    EXPECT_EQ(node(1).kind, xml_kind_attributes);
}

TEST_F(Xml, DeclarationsAndCommentsAreSkipped) {
    EXPECT_EQ(scan("<?xml version='1.0'?><!-- note --><a></a>"), 0);
    EXPECT_EQ(xml_document.node_count, 1);
}

TEST_F(Xml, NamesEndAtDigitsAndPunctuation) {
    ASSERT_EQ(scan("<width2></width><a_b></a><x-y></x><9></>"), 0);
    ASSERT_EQ(xml_document.node_count, 6);
    EXPECT_STREQ(node(0).text, "WIDTH");  // the terminator replaced the 2
    EXPECT_STREQ(node(1).text, "A");
    EXPECT_STREQ(node(2).text, "b");  // what follows the terminator
    EXPECT_EQ(node(2).kind, xml_kind_attributes);
    EXPECT_STREQ(node(3).text, "X");
    EXPECT_STREQ(node(4).text, "y");
    EXPECT_STREQ(node(5).text, "");  // a tag starting with a non-letter
}

TEST_F(Xml, EmptyElementTagStaysOpen) {
    EXPECT_EQ(scan("<a/>"), 1);
    EXPECT_EQ(xml_document.node_count, 1);
    xml_reset();
    EXPECT_EQ(scan("<a/></a>"), 0);
}

TEST_F(Xml, EqualStringsShareOnePoolEntry) {
    ASSERT_EQ(scan("<x><x>x</x></x>"), 0);
    EXPECT_EQ(node(0).text, node(1).text);
    EXPECT_EQ(xml_document.pool_length, 4);  // "X" and the text "x"
    EXPECT_EQ(xml_intern("X"), node(0).text);
    EXPECT_NE(xml_intern("x"), node(0).text);  // interning is case-sensitive
}

TEST_F(Xml, TextIsTrimmedJoinedAcrossLinesAndBlankRunsDropped) {
    ASSERT_EQ(scan("<a>  800  </a><b> \t </b><c>8\r\n00</c>"), 0);
    ASSERT_EQ(xml_document.node_count, 5);
    EXPECT_STREQ(node(1).text, "800");
    EXPECT_STREQ(node(2).text, "B");
    EXPECT_STREQ(node(4).text, "800");
}

TEST_F(Xml, SegmentsHoldAtMost254Characters) {
    EXPECT_EQ(scan("<a>" + std::string(254, 'v') + "</a>"), 0);
    xml_reset();
    EXPECT_EQ(scan("<a>" + std::string(255, 'v') + "</a>"), 2);
}

TEST_F(Xml, UnclosedElementAtTheEndFails) {
    EXPECT_EQ(scan("<a><b></b>"), 1);
    EXPECT_EQ(xml_errors.count, 0);  // the scanner itself pushes nothing here
}

TEST_F(Xml, FullNodeTableRejectsTheDocument) {
    std::string doc = "<a>";
    for (int i = 0; i < 600; ++i) doc += "t" + std::to_string(i % 10) + "<b></b>";
    EXPECT_EQ(scan(doc + "</a>"), 1);
    EXPECT_LE(xml_document.node_count, xml_max_nodes);
    EXPECT_EQ(top_error(), "too many xml elements on line 1\n");
}

TEST_F(Xml, FullTextTableRejectsTheDocument) {
    std::string doc = "<a>";
    for (int i = 0; i < 600; ++i) doc += "t" + std::to_string(i % 10) + "<";
    EXPECT_EQ(scan(doc), 1);
    EXPECT_EQ(xml_document.node_count, xml_max_nodes);
    EXPECT_EQ(top_error(), "too many xml nodes on line 1\n");
}

TEST_F(Xml, FullPoolRejectsTheDocument) {
    std::string doc = "<a>";
    for (int i = 0; i < 20; ++i) doc += std::string(200, static_cast<char>('a' + i)) + "<";
    EXPECT_EQ(scan(doc), 1);
    EXPECT_LE(xml_document.pool_length, xml_pool_bytes);
    EXPECT_EQ(top_error(), "xml string pool full on line 1\n");
}

TEST_F(Xml, ErrorStackKeepsTheNewestWhenFullAndCutsLongMessages) {
    for (int i = 0; i < 20; ++i) xml_error_push("message %i", i);
    EXPECT_EQ(xml_errors.count, xml_max_errors);
    EXPECT_STREQ(xml_error_pop(), "message 19");
    EXPECT_STREQ(xml_error_pop(), "message 14");
    xml_error_push("%s", std::string(100, 'm').c_str());
    EXPECT_EQ(std::string(xml_error_pop()), std::string(63, 'm'));
    xml_errors.count = 0;
    EXPECT_EQ(xml_error_pop(), nullptr);
}

TEST_F(Xml, LoadReportsMissingUnreadableAndMalformedFiles) {
    fake::TempDir dir;
    EXPECT_EQ(xml_load("absent.xml"), -1);
    EXPECT_EQ(top_error(), "FILE `absent.xml` is missing or not readable :(\n");
    xml_errors.count = 0;

    fake::write_file("bad.xml", "<a>x</b>");
    EXPECT_EQ(xml_load("bad.xml"), 1);
    ASSERT_EQ(xml_errors.count, 2);
    EXPECT_STREQ(xml_errors.messages[0], "no opener for </B> on line 1\n");
    EXPECT_STREQ(xml_errors.messages[1], "parsing `bad.xml` failed");
    xml_errors.count = 0;

    xml_reset();
    fake::write_file("long.xml", "<a>" + std::string(300, 'z'));
    EXPECT_EQ(xml_load("long.xml"), 2);
    EXPECT_EQ(xml_errors.count, 1);

    xml_reset();
    fake::write_file("empty.xml", "");
    EXPECT_EQ(xml_load("empty.xml"), 0);
}

TEST_F(Xml, ResetKeepsPoolStringsReadable) {
    ASSERT_EQ(scan("<a>caption</a>"), 0);
    const char* text = node(1).text;
    xml_reset();
    EXPECT_EQ(xml_document.node_count, 0);
    EXPECT_STREQ(text, "caption");
}

}  // namespace
