#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "log/log.h"
#include "fake_platform.h"

namespace {

class Log : public ::testing::Test {
protected:
    void SetUp() override { fake::reset(); }
};

TEST_F(Log, WritesNothingWithoutAConsoleAndReturnsZero) {
    EXPECT_EQ(log_print("file.io %2i :: `%s`  %iB \n", 1, "a", 2), 0);
    EXPECT_EQ(fake::state.console, "");
}

TEST_F(Log, WritesTheFormattedTextAsIs) {
    platform::console_allocate();
    log_print("file.io %2i :: `%s`  %iB \n", 3, "pool/x.png", 1234);
    log_print("no newline");
    EXPECT_EQ(fake::state.console, "file.io  3 :: `pool/x.png`  1234B \nno newline");
}

TEST_F(Log, BothCutTextsAfter255Characters) {
    platform::console_allocate();
    std::string long_text(300, 'x');
    long_text[254] = 'E';
    log_print("%s", long_text.c_str());
    error_box("%s", long_text.c_str());
    EXPECT_EQ(fake::state.console, long_text.substr(0, 255));
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], long_text.substr(0, 255));
}

TEST_F(Log, ErrorBoxHasTheProgramsCaptionAndFormats) {
    error_box("wglCreateContext(0x%x); \nreturned an errorcode %i", 0x2001u, 5);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "wglCreateContext(0x2001); \nreturned an errorcode 5");
    EXPECT_EQ(fake::state.captions[0], "falta del alcalde");
}

// A script's run: no box for anyone to answer, every line of the text on
// stderr after "heden: ", the trailing blanks and breaks left out, and
// counted.
TEST_F(Log, BoxesOnStderrWaitForNobody) {
    error_box("shown");
    error_boxes_to_stderr(true);
    testing::internal::CaptureStderr();
    error_box("fatal in xml\nerror: %s ", "node `config>window>width[0]` not found\n");
    error_box("blob.dat gone fishing?");
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(error_boxes_written(), 2);
    error_boxes_to_stderr(false);
    EXPECT_EQ(written, "heden: fatal in xml\nheden: error: node `config>window>width[0]` not found\n"
                       "heden: blob.dat gone fishing?\n");
    EXPECT_EQ(fake::state.boxes, std::vector<std::string>{"shown"});
}

}  // namespace
