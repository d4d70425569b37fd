#include "shader/shader_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

ShaderSources split(const std::string& text) { return shader_split(text.data(), text.size()); }

using Lines = std::vector<std::string>;

TEST(ShaderText, CommonLinesGoToBothStagesInFileOrder) {
    ShaderSources s = split("// header\n.common\nuniform float cut;\n.vertex\nvoid main(){}\n.fragment\nvoid f(){}\n");
    EXPECT_TRUE(s.problem.empty());
    EXPECT_EQ(s.vertex, (Lines{"uniform float cut;", "void main(){}"}));
    EXPECT_EQ(s.fragment, (Lines{"uniform float cut;", "void f(){}"}));
}

TEST(ShaderText, MarkersAreTrimmedButCaseSensitive) {
    ShaderSources s = split(" \t.vertex\t \na;\n.Fragment\n.fragment\nb;\n");
    EXPECT_EQ(s.vertex, (Lines{"a;", ".Fragment"}));
    EXPECT_EQ(s.fragment, (Lines{"b;"}));
}

TEST(ShaderText, CommentsBlanksSlashesAndLineEnds) {
    ShaderSources s = split(".vertex\r\n/\r\n   // note\r\n\r\n  x; // stays  \r\nlast line without newline");
    EXPECT_EQ(s.vertex, (Lines{"/", "x; // stays"}));
    EXPECT_TRUE(s.fragment.empty());
}

TEST(ShaderText, SectionsRepeatAndAccumulate) {
    ShaderSources s = split(".vertex\na;\n.fragment\nb;\n.vertex\nc;\n.common\nd;\n");
    EXPECT_EQ(s.vertex, (Lines{"a;", "c;", "d;"}));
    EXPECT_EQ(s.fragment, (Lines{"b;", "d;"}));
}

TEST(ShaderText, LinesAreCutTo255BeforeTrimming) {
    std::string long_line = std::string(250, 'a') + "     bbb";
    ShaderSources s = split(".vertex\n" + long_line + "\n");
    ASSERT_EQ(s.vertex.size(), 1u);
    EXPECT_EQ(s.vertex[0], std::string(250, 'a'));
    EXPECT_EQ(line_trim("\t x \t"), "x");
}

TEST(ShaderText, TextBeforeTheFirstMarkerIsRefused) {
    ShaderSources s = split("void main(){}\n.vertex\na;\n");
    EXPECT_EQ(s.problem, "source text before the first section marker");
    EXPECT_TRUE(s.vertex.empty());
}

TEST(ShaderText, LimitsAreRefusedNotOverrun) {
    std::string many = ".common\n";
    for (int i = 0; i < 129; ++i) many += "x;\n";
    EXPECT_EQ(split(many).problem, "more than 128 vertex lines");
    std::string big = ".fragment\n";
    for (int i = 0; i < 130; ++i) big += std::string(250, 'y') + "\n";
    EXPECT_EQ(split(big).problem, "more than 128 fragment lines");
    std::string text = ".fragment\n";
    for (int i = 0; i < 127; ++i) text += std::string(255, 'z') + "\n";
    EXPECT_EQ(split(text).problem, "");  // 127 x 256 = 32512 bytes fit
    text += std::string(255, 'z') + "\n";
    EXPECT_EQ(split(text).problem, "");  // 128 x 256 = 32768 bytes: exactly full
    EXPECT_EQ(split(".vertex\n" + std::string(1024, 'w') + "\n").problem, "a line of 1024 characters or more");
    EXPECT_EQ(split(".vertex\n" + std::string(1023, ' ') + "\n").problem, "");
}

TEST(ShaderText, EmptyInputGivesEmptySources) {
    ShaderSources s = shader_split(nullptr, 0);
    EXPECT_TRUE(s.vertex.empty());
    EXPECT_TRUE(s.fragment.empty());
    EXPECT_TRUE(s.problem.empty());
}

}  // namespace
