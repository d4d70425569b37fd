#include "app/demo_main.h"
#include "app/unattended.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "clock/clock.h"
#include "config/settings.h"
#include "window/window.h"
#include "fake_platform.h"
#include "start_up_files.h"
#include "temp_dir.h"

namespace {

const char* debug_config =
    "<config><window><width>800</width><height>600</height><caption>heden</caption><depth>32</depth>"
    "<fullscreen>0</fullscreen><halign>1</halign><valign>1</valign><multisample>0</multisample>"
    "<glext>1</glext></window><viewport><width>16</width><height>9</height></viewport>"
    "<audio><enabled>0</enabled><length>150</length></audio>"
    "<debug><console>1</console><timeline>0</timeline></debug></config>";

// The program started without options.
int run_plain() {
    char name[] = "heden";
    char* argv[] = {name, nullptr};
    return demo_main(1, argv);
}

// A still nobody watches.
int run_still() {
    char name[] = "heden", option[] = "--still", value[] = "1:x.png";
    char* argv[] = {name, option, value, nullptr};
    return demo_main(3, argv);
}

platform::Message key(std::uint32_t message, std::uintptr_t code) {
    return platform::Message{0x1002, message, code, 1};
}

class DemoMain : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings_defaults();
        window_state.swap_interval = 1;  // a capture before turned it off
        fake::write_start_up_files();
        demo_files = fake::write_demo_files();
    }
    bool console_has(const std::string& text) { return fake::state.console.find(text) != std::string::npos; }
    // The archive's closing line after loading these files from the pool.
    std::string summary(const std::vector<std::string>& paths) {
        std::size_t bytes = 0;
        for (const std::string& path : paths) bytes += fake::read_file(path).size();
        return "io blob system offline..  (" + std::to_string(bytes) + " bytes read in " +
               std::to_string(paths.size()) + " files),\n";
    }
    bool ends_with(const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    }
    // Everything a whole start-up reads, in order.
    std::vector<std::string> all_loads() {
        std::vector<std::string> loads = {"pool/icon.pcx", "pool/icons.pcx", "pool/loading.png"};
        loads.insert(loads.end(), demo_files.begin(), demo_files.end());
        loads.push_back("pool/quorvane_28_juli.ogg");
        return loads;
    }
    fake::TempDir dir;
    std::vector<std::string> demo_files;
};

TEST_F(DemoMain, PrintSettingsWritesTheFiveLines) {
    platform::console_allocate();
    print_settings();
    EXPECT_EQ(fake::state.console,
              "window : 800 x 600 : 32b \narea : 800 x 450 \n ALIGNment:1,1 \n multisamp:0 wgl:1 \n"
              "audio :: enabled:1 \n ");
}

TEST_F(DemoMain, RunsStartUpLoopAndShutDownInOrder) {
    fake::write_file("config.xml", debug_config);
    fake::write_file("pool/quorvane_28_juli.ogg", "music");
    fake::state.queue = {std::nullopt, std::nullopt, key(platform::msg_keydown, 'A'), std::nullopt,
                         key(platform::msg_keydown, platform::key_escape), key(platform::msg_keydown, 'B')};
    EXPECT_EQ(run_plain(), 0);
    EXPECT_FALSE(fake::state.ran_dry);
    EXPECT_TRUE(fake::state.boxes.empty()) << fake::state.boxes[0];
    EXPECT_EQ(fake::count("console_set_title(heden)"), 1);
    EXPECT_EQ(fake::count("swap_buffers(0x2001)"), 2 + 3);  // two loading screens, then three frames
    // Escape posts WM_QUIT behind B: B is still dispatched, then the loop ends.
    EXPECT_EQ(fake::count("dispatch_message"), 3);
    int quit = fake::find("post_quit_message");
    EXPECT_EQ(fake::find("swap_buffers", quit), -1);
    // The probe's window was 0x1001; the main window is 0x1002.
    int destroy = fake::find("delete_gl_context(0x3001)", quit);
    EXPECT_GT(destroy, quit);
    EXPECT_LT(destroy, fake::find("destroy_window(0x1002)"));
    EXPECT_EQ(fake::state.console.rfind("window : 800 x 600 : 32b \n", 0), 0u);
    EXPECT_TRUE(console_has("io blob system active..\n"));
    EXPECT_TRUE(console_has("`pool/quorvane_28_juli.ogg`  5B \nsilence?\n"));
    EXPECT_TRUE(ends_with(fake::state.console, summary(all_loads())));
}

// An archive is recorded with the programs built; without extensions the
// run still reads the shader texts, so every later file gets its own entry.
TEST_F(DemoMain, WithoutExtensionsTheLoadOrderStaysTheSame) {
    std::string config = debug_config;
    config.replace(config.find("<glext>1</glext>"), 16, "<glext>0</glext>");
    fake::write_file("config.xml", config);
    fake::write_file("pool/quorvane_28_juli.ogg", "music");
    fake::state.queue = {std::nullopt, platform::Message{0, platform::msg_quit, 0, 0}};
    EXPECT_EQ(run_plain(), 0);
    EXPECT_TRUE(fake::state.boxes.empty());
    EXPECT_TRUE(console_has("file.io  4 :: `pool/shader/glow_hor.txt`"));
    EXPECT_TRUE(console_has("file.io  9 :: `pool/loading.png`"));
    EXPECT_TRUE(ends_with(fake::state.console, summary(all_loads())));
}

TEST_F(DemoMain, QuitEndsTheLoopWithMessagesStillQueued) {
    fake::write_file("config.xml", debug_config);
    platform::Message quit{0, platform::msg_quit, 0, 0};
    fake::state.queue = {std::nullopt, quit, key(platform::msg_keydown, 'A'), std::nullopt, std::nullopt};
    run_plain();
    EXPECT_EQ(fake::count("swap_buffers"), 2 + 1);  // two loading screens and one frame
    EXPECT_EQ(fake::count("dispatch_message"), 0);
    EXPECT_EQ(fake::state.queue.size(), 3u);
}

// Minimised: no frame, but the clock goes on; the first frame after it is
// drawn at once, at the time then.
TEST_F(DemoMain, NoFramesWhileNobodySeesTheWindow) {
    fake::write_file("config.xml", debug_config);
    fake::state.queue = {std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                         platform::Message{0, platform::msg_quit, 0, 0}};
    fake::script("window_shown", {1, 0, 0, 1});
    float shown_at = -1;  // the demo time of the last frame shown
    fake::state.on_swap = [&] {
        if (window_state.play) shown_at = window_state.play->clock.demo_time;
    };
    run_plain();
    EXPECT_EQ(fake::count("swap_buffers"), 2 + 2);  // two loading screens, two frames
    EXPECT_EQ(fake::count("wait_message(100)"), 2);
    int back = fake::find("wait_message", fake::find("wait_message") + 1);
    EXPECT_NE(fake::find("swap_buffers", back), -1);
    EXPECT_FLOAT_EQ(shown_at, 0.2f);  // the frame after two waits of 100 ms
    EXPECT_EQ(fake::count("set_swap_interval(0x2001,1)"), 1);
}

TEST_F(DemoMain, WindowFailureTakesTheFatalPath) {
    fake::write_file("config.xml", debug_config);
    fake::script("create_window", {0x4001, 0});  // the probe's window, then the main window
    fake::state.display_problem = "cannot open display :987";
    testing::internal::CaptureStderr();
    EXPECT_EQ(run_plain(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "heden: cannot open display :987\n");
    ASSERT_EQ(fake::state.boxes.size(), 3u);
    EXPECT_EQ(fake::state.boxes[0], "CreateWindow() failed");
    EXPECT_EQ(fake::state.boxes[1], "window creation failed \n exiting now -2");
    EXPECT_EQ(fake::state.boxes[2], "su tentativa de programa ninja cojo es una falta completa!");
    // The icons were read before the window was tried.
    EXPECT_TRUE(console_has("fatal errors.. exit app now \noffset 0 |\t size "));
    EXPECT_TRUE(ends_with(fake::state.console, summary({"pool/icon.pcx", "pool/icons.pcx"})));
    EXPECT_FALSE(console_has("silence?"));  // no soundtrack
    EXPECT_EQ(fake::count("swap_buffers"), 0);
    EXPECT_EQ(fake::count("delete_gl_context"), 1);  // the probe's own; nothing else is torn down
    EXPECT_EQ(fake::count("destroy_window(0x1002)"), 0);
}

// Missing files would put placeholders in the pictures: every cause is
// named, then the still stops before its first frame.
TEST_F(DemoMain, StillStopsBeforeItsFirstFrameNamingEveryCause) {
    fake::write_file("config.xml", debug_config);
    std::remove("pool/dolphin.lwo");  // and no soundtrack was written
    testing::internal::CaptureStderr();
    EXPECT_EQ(run_still(), 1);
    std::string written = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(fake::state.boxes.empty());
    EXPECT_NE(written.find("heden: file pool/dolphin.lwo does not exist?\n"), std::string::npos) << written;
    EXPECT_TRUE(ends_with(written, "heden: file pool/quorvane_28_juli.ogg does not exist?\n"
                                   "heden: nothing captured: 2 problems above would change the picture\n"))
        << written;
    EXPECT_EQ(fake::count("swap_buffers"), 2);  // the loading screens only
    EXPECT_FALSE(std::ifstream("x.png").good());
}

// A clamped window size is said with the size captured; one beyond 32 bits
// as it was asked.
TEST_F(DemoMain, AClampedWindowSaysWhatIsCaptured) {
    auto note_for = [](const std::string& width, const std::string& height) {
        std::string config = debug_config;
        config.replace(config.find("800"), 3, width);
        config.replace(config.find("600"), 3, height);
        fake::write_file("config.xml", config);
        config_load("config.xml");
        return window_clamp_note();
    };
    EXPECT_EQ(note_for("800", "600"), "");
    EXPECT_EQ(note_for("3840", "2160"),
              "3840 x 2160 is larger than the largest window, 3200 x 2400; capturing 3200 x 1800");
    EXPECT_EQ(note_for("100", "100"), "100 x 100 is smaller than the smallest window, 320 x 240; capturing 320 x 180");
    EXPECT_EQ(note_for("4000", "100"),
              "4000 x 100 is outside the window sizes 320 x 240 to 3200 x 2400; capturing 426 x 240");
    EXPECT_EQ(note_for("99999999999", "600"),
              "99999999999 x 600 is larger than the largest window, 3200 x 2400; capturing 1066 x 600");
}

TEST_F(DemoMain, MissingConfigRunsOnDefaultsAfterOneBox) {
    fake::state.queue = {std::nullopt, platform::Message{0, platform::msg_quit, 0, 0}};
    EXPECT_EQ(run_plain(), 0);
    ASSERT_GE(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0], "an xml errors occured FILE `config.xml` is missing or not readable :(\n ");
    EXPECT_EQ(fake::count("console_allocate"), 0);
    EXPECT_EQ(fake::count("create_window(F4 = toggle fullscreen,sysmenu,240,212,800,600)"), 1);
}

}  // namespace
