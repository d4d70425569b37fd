// The win32 backend's own behaviour, on wine: what the portable code relies
// on but cannot see through the fake platform.
#include <windows.h>
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/platform.h"

namespace {

std::intptr_t plain_proc(platform::Handle window, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    return platform::default_window_proc(window, message, wparam, lparam);
}

// The cursor count as ShowCursor keeps it, left unchanged.
int cursor_count() {
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

TEST(Win32Cursor, HiddenInFullscreenAndShownInAWindowWhateverWasCountedBefore) {
    ShowCursor(TRUE);
    ShowCursor(TRUE);  // as after starting windowed and more
    platform::show_cursor(false);
    EXPECT_EQ(cursor_count(), -1);
    for (int i = 0; i < 3; ++i) ShowCursor(FALSE);
    platform::show_cursor(true);
    EXPECT_EQ(cursor_count(), 0);
    platform::show_cursor(true);
    EXPECT_EQ(cursor_count(), 0) << "showing twice must not pile up";
    platform::show_cursor(false);
    platform::show_cursor(false);
    EXPECT_EQ(cursor_count(), -1) << "hiding twice must not dig deeper";
}

struct Window {
    platform::Handle window = 0, dc = 0, context = 0;
};

class Win32Backend : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(platform::register_window_class("HEDEN_TEST", plain_proc)); }
    void TearDown() override { platform::unregister_window_class("HEDEN_TEST"); }

    // A window with a GL context made current, as window creation makes it.
    Window open(int alpha_bits) {
        Window w;
        platform::WindowRequest request{"HEDEN_TEST", "test", platform::WindowStyle::sysmenu, 0, 0, 64, 64};
        w.window = platform::create_window(request);
        EXPECT_NE(w.window, 0u);
        w.dc = platform::get_dc(w.window);
        platform::PixelFormatRequest format{32, alpha_bits, 16, 8};
        EXPECT_TRUE(platform::set_pixel_format(w.dc, platform::choose_pixel_format(w.dc, format), format));
        w.context = platform::create_gl_context(w.dc);
        EXPECT_NE(w.context, 0u);
        EXPECT_TRUE(platform::make_gl_current(w.dc, w.context));
        return w;
    }

    void close(const Window& w) {
        platform::make_gl_current(0, 0);
        EXPECT_TRUE(platform::delete_gl_context(w.context));
        platform::release_dc(w.window, w.dc);
        EXPECT_TRUE(platform::destroy_window(w.window));
    }
};

bool icon_alive(platform::Handle icon) {
    ICONINFO info{};
    if (!GetIconInfo(reinterpret_cast<HICON>(icon), &info)) return false;
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return true;
}

platform::Handle make_icon() {
    std::vector<std::uint8_t> mask(2 * 16, 0);
    std::vector<std::uint32_t> colour(16 * 16, 0x00FF8000u);
    return platform::create_icon(16, 16, mask.data(), colour.data());
}

TEST_F(Win32Backend, IconsAreReleasedWhenReplacedAndWithTheirWindow) {
    platform::WindowRequest request{"HEDEN_TEST", "icons", platform::WindowStyle::sysmenu, 0, 0, 64, 64};
    platform::Handle window = platform::create_window(request);
    ASSERT_NE(window, 0u);
    platform::Handle small = make_icon(), big = make_icon(), newer = make_icon();
    ASSERT_TRUE(icon_alive(small) && icon_alive(big) && icon_alive(newer));
    platform::set_window_icon(window, platform::IconSize::small, small);
    platform::set_window_icon(window, platform::IconSize::big, big);
    platform::set_window_icon(window, platform::IconSize::big, newer);
    EXPECT_FALSE(icon_alive(big)) << "a replaced icon is released";
    EXPECT_TRUE(icon_alive(small));
    EXPECT_TRUE(platform::destroy_window(window));
    EXPECT_FALSE(icon_alive(small));
    EXPECT_FALSE(icon_alive(newer));
}

// F4 deletes every context and window the program has and makes new ones;
// the textures and display lists made before must still be there. The
// first context has the probe's format (with alpha), as in the program.
TEST_F(Win32Backend, TexturesAndListsOutliveEveryContextTheyWereMadeWith) {
    Window probe = open(1);
    close(probe);

    Window first = open(0);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const std::uint32_t texel = 0xFF3366CCu;
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, &texel);
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    glColor3f(1, 0, 0);
    glEndList();
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    close(first);

    Window second = open(0);
    EXPECT_TRUE(glIsTexture(texture));
    EXPECT_TRUE(glIsList(list));
    glBindTexture(GL_TEXTURE_2D, texture);
    std::uint32_t back = 0;
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, &back);
    EXPECT_EQ(back, texel);
    Window third = open(0);
    EXPECT_TRUE(platform::share_gl_lists(second.context, third.context)) << "already in one group";
    close(third);
    close(second);
}

TEST_F(Win32Backend, MissingEntryPointsAreNull) {
    Window w = open(0);
    EXPECT_EQ(platform::gl_proc_address("glNoSuchFunctionHEDEN"), nullptr);
    EXPECT_NE(platform::gl_proc_address("glActiveTexture"), nullptr);
    close(w);
}

}  // namespace
