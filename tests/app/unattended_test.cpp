#include "app/unattended.h"

#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"
#include "fake_platform.h"
#include "temp_dir.h"

namespace {

// The note after reading a window size from config.xml, with a 16:9 viewport.
std::string note_for(const std::string& width, const std::string& height) {
    fake::write_file("config.xml", "<config><window><width>" + width + "</width><height>" + height +
                                       "</height><caption>heden</caption><depth>32</depth><fullscreen>0</fullscreen>"
                                       "<halign>1</halign><valign>1</valign><multisample>0</multisample>"
                                       "<glext>1</glext></window><viewport><width>16</width><height>9</height>"
                                       "</viewport><audio><enabled>0</enabled><length>150</length></audio></config>");
    EXPECT_EQ(config_load("config.xml"), 0);
    return window_clamp_note();
}

TEST(Unattended, AClampedWindowSaysWhatIsCaptured) {
    fake::reset();
    fake::TempDir dir;
    EXPECT_EQ(note_for("800", "600"), "");
    EXPECT_EQ(note_for("3840", "2160"),
              "3840 x 2160 is larger than the largest window, 3200 x 2400; capturing 3200 x 1800");
    EXPECT_EQ(note_for("100", "100"), "100 x 100 is smaller than the smallest window, 320 x 240; capturing 320 x 180");
    EXPECT_EQ(note_for("4000", "100"),
              "4000 x 100 is outside the window sizes 320 x 240 to 3200 x 2400; capturing 426 x 240");
    // Beyond 32 bits: said as asked, not wrapped.
    EXPECT_EQ(note_for("99999999999", "600"),
              "99999999999 x 600 is larger than the largest window, 3200 x 2400; capturing 1066 x 600");
}

}  // namespace
