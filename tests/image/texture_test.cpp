// Textures and the loading screen on Mesa through the real x11 backend.
#include <gtest/gtest.h>

#include <vector>

#include "config/settings.h"
#include "data/file_table.h"
#include "demo/loading_screen.h"
#include "gl/glext.h"
#include "image/texture.h"
#include "start_up_files.h"
#include "temp_dir.h"
#include "window/window.h"

// Xlib's macros (Bool, None) would clash with the headers above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

struct Rgb {
    int r, g, b;
};

class Textures : public ::testing::Test {
protected:
    void SetUp() override {
        fake::write_start_up_files();
        blob_open();
        settings_defaults();
        settings.glext = 0;
        ASSERT_EQ(window_setup(1), 0) << "needs an X display with GLX";
    }
    void TearDown() override {
        window_destroy();
        blob_close();
    }
    // What the viewer sees at (x, y) of the main window, counted from its
    // top-left corner, read from the X screen.
    Rgb on_screen(int x, int y) {
        glFinish();
        Display* dpy = XOpenDisplay(nullptr);
        platform::Size screen = platform::screen_size();
        int left = (screen.width - settings.window_width) / 2 + x;
        int top = (screen.height - settings.window_height) / 2 + y;
        XImage* image = XGetImage(dpy, DefaultRootWindow(dpy), left, top, 1, 1, AllPlanes, ZPixmap);
        unsigned long p = XGetPixel(image, 0, 0);
        XDestroyImage(image);
        XCloseDisplay(dpy);
        return {static_cast<int>(p >> 16 & 255), static_cast<int>(p >> 8 & 255), static_cast<int>(p & 255)};
    }
    Rgb pixel(GLenum buffer, int x, int y) {
        unsigned char rgb[3] = {};
        glReadBuffer(buffer);
        glReadPixels(x, y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return {rgb[0], rgb[1], rgb[2]};
    }
    void clear_both_buffers() {
        glClearColor(0, 1, 0, 1);
        glDrawBuffer(GL_FRONT_AND_BACK);
        glClear(GL_COLOR_BUFFER_BIT);
        glDrawBuffer(GL_BACK);
    }
    fake::TempDir dir;
};

// 256 x 128 picture, 800 x 450 area centred in 800 x 600: on screen the
// picture covers window columns 272..527 and rows 236..363.
TEST_F(Textures, LoadingPictureIsCentredAtItsPixelSize) {
    clear_both_buffers();
    loading_screen(0.0);
    HalfExtents half = loading_half_extents(256, 128);
    EXPECT_FLOAT_EQ(half.height, 128.0f / 450);
    EXPECT_FLOAT_EQ(half.width, 256.0f / 450);
    Rgb inside_left = on_screen(272, 236), inside_right = on_screen(527, 363);
    EXPECT_GE(inside_left.r, 250);
    EXPECT_LE(inside_left.b, 5);
    EXPECT_GE(inside_right.b, 250);
    EXPECT_LE(inside_right.r, 5);
    for (auto [x, y] : {std::pair{271, 300}, std::pair{528, 300}, std::pair{400, 235}, std::pair{400, 364}})
        EXPECT_EQ(on_screen(x, y).g, 255) << x << "," << y;  // just outside: untouched
    EXPECT_EQ(texture_table[0] != 0, true);
}

TEST_F(Textures, ProgressDimsThePicture) {
    clear_both_buffers();
    loading_screen(0.5);
    Rgb left = on_screen(300, 300);
    EXPECT_NEAR(left.r, 128, 2);
    EXPECT_EQ(left.g, 0);
}

TEST_F(Textures, RecreatedSlotHoldsTheNewNameAndTheOldIsGone) {
    const unsigned char texel[4] = {1, 2, 3, 4};
    texture_create(texel, 1, 1, 5, 0);
    GLuint first = texture_table[5];
    texture_create(texel, 1, 1, 5, 0);
    EXPECT_NE(texture_table[5], first);
    EXPECT_FALSE(glIsTexture(first));
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(static_cast<GLuint>(bound), texture_table[5]);
    texture_create(texel, 1, 1, 32, 0);  // no such slot: nothing happens
    texture_create(texel, 1, 1, -1, 0);
}

// A 2 x 1 texture (red, blue) drawn with s from 0 to 2 across the area:
// past s = 1 repeating starts over with red, clamping keeps blue.
TEST_F(Textures, ClampHoldsTheEdgeAndRepeatWraps) {
    const unsigned char texels[8] = {255, 0, 0, 255, 0, 0, 255, 255};
    for (int clamp : {0, 1}) {
        texture_create(texels, 2, 1, 9, clamp);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glEnable(GL_TEXTURE_2D);
        glBegin(GL_QUADS);
        glTexCoord2f(0, 0), glVertex2f(-1, -1);
        glTexCoord2f(2, 0), glVertex2f(1, -1);
        glTexCoord2f(2, 1), glVertex2f(1, 1);
        glTexCoord2f(0, 1), glVertex2f(-1, 1);
        glEnd();
        glDisable(GL_TEXTURE_2D);
        Rgb right = pixel(GL_BACK, 500, 300);  // s = 1.25: red when repeated, blue when clamped
        if (clamp) {
            EXPECT_EQ(right.b, 255) << "clamped";
        } else {
            EXPECT_EQ(right.r, 255) << "repeated";
        }
    }
}

}  // namespace
