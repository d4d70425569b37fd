// Entry points, the multisample probe and render-target creation against a
// scripted driver.
#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"
#include "fake_platform.h"
#include "gl/glext.h"
#include "gl/multisample.h"
#include "gl/pbuffer.h"

namespace {

class GlPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        fake::reset();
        settings_defaults();
        glext_ready = 0;
        platform::console_allocate();
    }
    int lines_ending(const std::string& tail) {
        int n = 0;
        for (std::size_t at = fake::state.console.find(tail); at != std::string::npos;
             at = fake::state.console.find(tail, at + 1))
            ++n;
        return n;
    }
};

TEST_F(GlPlatform, AllEntryPointsFoundWithGlextOnMakesExtensionsReady) {
    EXPECT_EQ(ext_load(), 0);
    EXPECT_EQ(glext_ready, 1);
    const std::string& log = fake::state.console;
    EXPECT_EQ(log.rfind(" ext | name                     | address   \n-----+--------------------------+---------- \n"
                        "   0 | wglGetExtensionsStringARB | 0x",
                        0),
              0u);
    EXPECT_NE(log.find("\n   1 |           glBlendEquation | 0x"), std::string::npos);
    EXPECT_NE(log.find("\n  33 |   wglChoosePixelFormatARB | 0x"), std::string::npos);
    EXPECT_EQ(lines_ending("FAILED"), 0);
    EXPECT_EQ(lines_ending(" \n"), 2 + 34);  // the two header lines and rows 0 to 33
}

TEST_F(GlPlatform, OneMissingEntryPointKeepsExtensionsOff) {
    fake::state.missing_entry_points = {"glBlendEquation"};
    EXPECT_EQ(ext_load(), 1);
    EXPECT_EQ(glext_ready, 0);
    EXPECT_NE(fake::state.console.find("   1 |           glBlendEquation | 0x00000000 FAILED \n"), std::string::npos);
    EXPECT_EQ(lines_ending("FAILED \n"), 1);
}

// Some drivers hand out an address for any name: what counts is what the
// driver's strings offer, by extension or by core version.
TEST_F(GlPlatform, EntryPointsCountOnlyWhereTheDriverOffersThem) {
    fake::state.offer = {"1.2", "GL_ARB_multitexture GL_ARB_shader_objectsX", "WGL_ARB_pbuffer"};
    EXPECT_EQ(ext_load(), 1 + 21 + 4);  // blend equation, shader objects, render texture and pixel format
    EXPECT_EQ(glext_ready, 0);
    EXPECT_EQ(gl_ext.glCreateShaderObjectARB, nullptr);
    EXPECT_NE(gl_ext.glActiveTexture, nullptr);
    EXPECT_NE(gl_ext.wglCreatePbufferARB, nullptr);
    EXPECT_NE(fake::state.console.find("   1 |           glBlendEquation | 0x00000000 FAILED \n"), std::string::npos);
    EXPECT_NE(fake::state.console.find("  30 |        wglBindTexImageARB | 0x00000000 FAILED \n"), std::string::npos);

    // Core versions stand in for the extensions they took in.
    fake::reset();
    fake::state.offer.version = "1.4.0 Vendor";
    fake::state.offer.extensions = "GL_ARB_shader_objects";
    EXPECT_EQ(ext_load(), 0);
    fake::state.offer.version = "1.3";
    EXPECT_EQ(ext_load(), 1);

    // Nothing current, nothing offered.
    fake::state.offer = {};
    EXPECT_EQ(ext_load(), ext::entry_point_count);
}

TEST_F(GlPlatform, GlextSettingOffFetchesEverythingButStaysOff) {
    settings.glext = 0;
    EXPECT_EQ(ext_load(), 0);
    EXPECT_EQ(glext_ready, 0);
    EXPECT_NE(gl_ext.wglChoosePixelFormatARB, nullptr);
}

TEST_F(GlPlatform, ProbeWithEverythingPresentLogsDoneAndShowsNoBox) {
    EXPECT_EQ(multisample_test(32), 0);
    EXPECT_TRUE(fake::state.boxes.empty());
    const std::string& log = fake::state.console;
    EXPECT_NE(log.find(" vendor               | device                               | version\n"), std::string::npos);
    const std::string done = "multisample_test() done .. \n";
    EXPECT_EQ(log.substr(log.size() - done.size()), done);
    EXPECT_EQ(fake::count("register_window_class(TEMP_WC,winlogo)"), 1);
    EXPECT_EQ(fake::count("create_window(loading..,overlapped,0,0,100,16)"), 1);
    EXPECT_EQ(fake::count("choose_pixel_format(0x2001,32,16,8)"), 1);
    // Torn down in order: no context, delete it, the window, the class.
    int none = fake::find("make_gl_current(0x0,0x0)");
    EXPECT_LT(none, fake::find("delete_gl_context(0x3001)"));
    EXPECT_LT(fake::find("delete_gl_context"), fake::find("destroy_window(0x1001)"));
    EXPECT_LT(fake::find("destroy_window"), fake::find("unregister_window_class(TEMP_WC)"));
}

TEST_F(GlPlatform, ProbeWithoutWindowGivesUp) {
    fake::script("create_window", {0});
    EXPECT_EQ(multisample_test(32), probe_no_window);
    EXPECT_EQ(fake::state.console, "no test window :(\n");
    EXPECT_EQ(fake::count("get_dc"), 0);
}

TEST_F(GlPlatform, ProbeReportsMissingEntryPointsInABoxOnlyWithGlextOn) {
    fake::state.missing_entry_points = {"wglSetPbufferAttribARB"};
    settings.glext = 0;
    EXPECT_EQ(multisample_test(32), probe_entry_points_missing);
    EXPECT_TRUE(fake::state.boxes.empty());
    EXPECT_NE(fake::state.console.find("no wgl-extensions on your device?\ncom:"), std::string::npos);
    EXPECT_EQ(fake::state.console.find("multisample_test() done"), std::string::npos);
    EXPECT_EQ(fake::count("unregister_window_class(TEMP_WC)"), 1);

    settings.glext = 1;
    EXPECT_EQ(multisample_test(32), probe_entry_points_missing);
    ASSERT_EQ(fake::state.boxes.size(), 1u);
    EXPECT_EQ(fake::state.boxes[0].rfind("ningunas extensiones de wgl?\ncom:", 0), 0u);
}

TEST_F(GlPlatform, ProbeCarriesOnPastEveryFailingStep) {
    fake::script("choose_pixel_format", {0});
    fake::script("set_pixel_format", {0});
    fake::script("create_gl_context", {0});
    fake::script("make_gl_current", {0});
    fake::script("last_error", {5, 6});
    EXPECT_EQ(multisample_test(24), 0);  // the loader still ran
    ASSERT_EQ(fake::state.boxes.size(), 4u);
    EXPECT_EQ(fake::state.boxes[0].rfind("temp ChoosePixelFormat(0x2001,0x", 0), 0u);
    EXPECT_NE(fake::state.boxes[0].find("); \nreturned an errorcode 5"), std::string::npos);
    EXPECT_EQ(fake::state.boxes[1].rfind("temp SetPixelFormat(0x2001,0x0,0x", 0), 0u);
    EXPECT_EQ(fake::state.boxes[2], "nogl");
    EXPECT_EQ(fake::state.boxes[3], "temp wglMakeCurrent(0x2001,0x0) \n failure :( ");
    EXPECT_EQ(glext_ready, 1);
}

TEST_F(GlPlatform, MultisampleFormatAnswers) {
    int format = 0;
    gl_ext.wglChoosePixelFormatARB = nullptr;
    EXPECT_EQ(multisample_format(0x2001, 1, &format), multisample_no_chooser);
    EXPECT_EQ(fake::state.console, "\n no opengl multisample functions in hardware :( \n");

    ext_load();
    fake::state.console.clear();
    EXPECT_EQ(multisample_format(0x2001, 1, &format), 0);
    EXPECT_EQ(format, 9);
    EXPECT_EQ(fake::state.console, "wglChoosePixelFormatARB() format9 valid1 \n\n multisample 1x supported :) \n");

    fake::state.console.clear();
    fake::state.choose_format_count = 0;
    format = 0;
    EXPECT_EQ(multisample_format(0x2001, 0, &format), multisample_no_format);
    EXPECT_EQ(format, 0);
    EXPECT_NE(fake::state.console.find("\n multisample unsupported :( \n"), std::string::npos);
}

class RenderTargets : public GlPlatform {
protected:
    void SetUp() override {
        GlPlatform::SetUp();
        ext_load();
        fake::state.console.clear();
        target = Pbuffer{nullptr, 0, 0, 1024, 512, 32};
    }
    Pbuffer target;
};

TEST_F(RenderTargets, CreateKeepsTheGrantedSize) {
    fake::state.pbuffer_granted_width = 512;
    fake::state.pbuffer_granted_height = 256;
    EXPECT_EQ(pbuffer_create(0x2001, &target), 0);
    EXPECT_EQ(target.width, 512);
    EXPECT_EQ(target.height, 256);
    EXPECT_EQ(target.dc, 0x8001u);
    EXPECT_EQ(target.context, 0x3001u);
    EXPECT_EQ(fake::count("wglCreatePbufferARB(9,1024,512)"), 1);
    EXPECT_EQ(fake::state.console, "pbuffer_create(0x2001) done with no errors\n");
}

TEST_F(RenderTargets, EachFailingStepHasItsCodeAndBox) {
    fake::state.choose_format_result = 0;
    EXPECT_EQ(pbuffer_create(0x2001, &target), pbuffer_no_format);
    EXPECT_EQ(fake::state.boxes.back(), "\tglChoosePixelFormatARB(  failure ");
    fake::state.choose_format_result = 1;

    fake::script("wglCreatePbufferARB", {0});
    EXPECT_EQ(pbuffer_create(0x2001, &target), pbuffer_no_pbuffer);
    EXPECT_EQ(fake::state.boxes.back(), "no pbuffer for you mistar");

    fake::script("wglGetPbufferDCARB", {0});
    EXPECT_EQ(pbuffer_create(0x2001, &target), pbuffer_no_dc);
    EXPECT_EQ(fake::state.boxes.back(), "wglGetPbufferDCARB(0x7001); failed");
}

TEST_F(RenderTargets, MissingContextGivesThePbufferBack) {
    fake::script("create_gl_context", {0});
    EXPECT_EQ(pbuffer_create(0x2001, &target), pbuffer_no_context);
    EXPECT_EQ(fake::state.boxes.back(), "wglGetPbufferDCARB(, 0x8001); failed");
    EXPECT_LT(fake::find("wglReleasePbufferDCARB(0x7001,0x8001)"), fake::find("wglDestroyPbufferARB(0x7001)"));
    EXPECT_EQ(target.handle, nullptr);
    EXPECT_EQ(target.dc, 0u);
}

TEST_F(RenderTargets, DestroyReportsAMissingContextAndCarriesOn) {
    ASSERT_EQ(pbuffer_create(0x2001, &target), 0);
    target.context = 0;
    fake::script("wglDestroyPbufferARB", {0});
    EXPECT_EQ(pbuffer_destroy(&target), 0);
    ASSERT_EQ(fake::state.boxes.size(), 2u);
    EXPECT_EQ(fake::state.boxes[0], "wglDeleteContext");
    EXPECT_EQ(fake::state.boxes[1], "wglDestroyPbufferARB");
    EXPECT_EQ(fake::count("wglReleasePbufferDCARB(0x7001,0x8001)"), 1);
    EXPECT_EQ(target.dc, 0u);
    EXPECT_NE(target.handle, nullptr);  // the handle keeps its value
}

}  // namespace
