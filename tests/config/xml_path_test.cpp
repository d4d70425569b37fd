#include "config/xml_path.h"

#include <gtest/gtest.h>

#include <string>

#include "config/xml.h"

namespace {

class XmlPath : public ::testing::Test {
protected:
    void load(const std::string& text) {
        xml_reset();
        xml_errors.count = 0;
        ASSERT_EQ(xml_tokenize(text.data(), static_cast<long>(text.size())), 0);
    }
    std::string top_error() { return xml_errors.count ? xml_errors.messages[xml_errors.count - 1] : ""; }
};

TEST_F(XmlPath, WalksNamesCaseInsensitively) {
    load("<config><window><width>800</width></window></config>");
    EXPECT_STREQ(xml_value("config>window>width"), "800");
    EXPECT_STREQ(xml_value("CONFIG>Window>WIDTH"), "800");
    EXPECT_EQ(xml_exists("config>window"), 1);
    EXPECT_EQ(xml_exists("config>viewport"), 0);
    EXPECT_EQ(xml_errors.count, 0);
}

TEST_F(XmlPath, IndicesPickSiblingsOfTheSameName) {
    load("<config><window><halign>1</halign></window></config><config><window><halign>2</halign></window></config>");
    EXPECT_STREQ(xml_value("config<0>window>halign"), "1");
    EXPECT_STREQ(xml_value("config[0]>window>halign"), "1");
    EXPECT_STREQ(xml_value("config<1>window>halign"), "2");
    EXPECT_STREQ(xml_value("config<1>window<0>halign"), "2");
    EXPECT_EQ(xml_value("config<2>window"), nullptr);
    EXPECT_EQ(top_error(), "node `CONFIG[2]` not found");
}

TEST_F(XmlPath, MissingElementAndMissingTextHaveTheirOwnMessages) {
    load("<config><window><width></width></window></config>");
    EXPECT_EQ(xml_value("config>window>height"), nullptr);
    EXPECT_EQ(top_error(), "node `HEIGHT[0]` not found");
    EXPECT_EQ(xml_value("config>window>width"), nullptr);
    EXPECT_EQ(top_error(), "no id255 found for parent 3 ");
    EXPECT_EQ(xml_exists("config>window>height"), 0);
    EXPECT_EQ(xml_errors.count, 2);  // xml_exists pushes nothing
}

TEST_F(XmlPath, EmptyPathAddressesTheDocumentLevel) {
    load("<a></a>");
    EXPECT_EQ(xml_exists(""), 1);
    EXPECT_EQ(xml_value(""), nullptr);
    EXPECT_EQ(top_error(), "no id255 found for parent 0 ");
    load("top<a></a>");
    EXPECT_STREQ(xml_value(""), "top");
}

TEST_F(XmlPath, OtherCharacterAfterANameStartsAnIndexSearch) {
    load("<config><window><width>800</width></window></config>");
    // The space starts an index search; no digit follows, so the path ends.
    EXPECT_EQ(xml_exists("config window>width"), 1);
    EXPECT_EQ(xml_exists("config window>width>nothing"), 1);
    // A later digit is taken as CONFIG's index.
    EXPECT_EQ(xml_exists("config window1>x"), 0);
    EXPECT_EQ(xml_exists("config<99999999999999999999>window"), 0);
}

TEST_F(XmlPath, FindChildComparesParentAndTextOfAnyNodeKind) {
    load("<a>B<b></b><b></b></a>");
    EXPECT_EQ(xml_find_child(1, "B", 0), 1);  // the text run "B" counts as a match
    EXPECT_EQ(xml_find_child(1, "B", 1), 2);
    EXPECT_EQ(xml_find_child(1, "B", 2), 3);
    EXPECT_EQ(xml_find_child(1, "B", 3), -1);
}

TEST_F(XmlPath, OnlyTheFirst255CharactersOfAPathAreRead) {
    load("<a><b>v</b></a>");
    std::string path = "a>b" + std::string(252, ' ') + "1";  // the 1 would pick B[1]
    EXPECT_STREQ(xml_value(path.c_str()), "v");
}

}  // namespace
