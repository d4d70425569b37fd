// The demo's start-up and drawing on Mesa through the real x11 backend,
// with the generated pool: what precalc puts in the texture table, that the
// render targets and a re-created window still see it, and that shadows and
// the stencil count behave on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "capture/readback.h"
#include "config/settings.h"
#include "data/file_table.h"
#include "demo/frame_schedule.h"
#include "demo/frame_view.h"
#include "demo/precalc.h"
#include "demo/random.h"
#include "demo/scene_render.h"
#include "demo/scene_state.h"
#include "demo/texture_fill.h"
#include "demo/texture_slots.h"
#include "gl/gl_defaults.h"
#include "gl/glext.h"
#include "image/image.h"
#include "image/png.h"
#include "image/texture.h"
#include "mesh/global_meshes.h"
#include "mesh/mesh_draw.h"
#include "start_up_files.h"
#include "temp_dir.h"
#include "window/window.h"
#include "clock/clock.h"

namespace {

// The frames' state and clock, as the program's main loop keeps them.
FrameState frames;
DemoClock clock;
SceneState& scene_state = frames.scene;

using Pixels = std::vector<std::uint8_t>;

class Demo : public ::testing::Test {
protected:
    // One start-up for the whole suite: precalc runs once per process.
    static void SetUpTestSuite() {
        dir = new fake::TempDir;
        fake::link_pool(HEDEN_POOL_DIR);
        blob_open();
        settings_defaults();
        clock_install_system(clock);  // the frames ask it for the process clock, as the program's do
        ASSERT_EQ(window_setup(1), 0) << "needs an X display with GLX";
        ASSERT_EQ(glext_ready, 1);
        precalc();
        frame_state_reset(frames);
    }
    static void TearDownTestSuite() {
        window_destroy();
        blob_close();
        delete dir;
    }
    void SetUp() override { ASSERT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context)); }

    DrawScratch scratch;

    static Pixels texture_pixels(int slot, int* width = nullptr) {
        glBindTexture(GL_TEXTURE_2D, texture_table[slot]);
        GLint w = 0, h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        Pixels pixels(static_cast<std::size_t>(w) * h * 4);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        if (width) *width = w;
        return pixels;
    }
    // The picture as our decoder reads it from the pool.
    static Pixels decoded(const char* path) {
        Pixels pixels(scratch_pixels_bytes);
        Image image{0, 0, 0, pixels.data(), scratch_pixels_bytes};
        png_load(path, &image);
        pixels.resize(static_cast<std::size_t>(image.width) * image.height * 4);
        return pixels;
    }
    static GLint wrap(int slot) {
        GLint mode = 0;
        glBindTexture(GL_TEXTURE_2D, texture_table[slot]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &mode);
        return mode;
    }
    static fake::TempDir* dir;
};

fake::TempDir* Demo::dir = nullptr;

TEST_F(Demo, TextureTableHoldsTreatedPictures) {
    Pixels particle = decoded("pool/particle.png");
    ASSERT_FALSE(particle.empty());
    key_green(particle.data(), static_cast<std::uint32_t>(particle.size() / 4));
    EXPECT_EQ(texture_pixels(texture_slot::particle), particle);
    int keyed = 0;
    for (std::size_t i = 3; i < particle.size(); i += 4) keyed += particle[i] == 255;
    EXPECT_GT(keyed, 0) << "the particle picture has no green key to test with";

    Pixels noise = decoded("pool/noise_c.png");
    red_into_alpha(noise.data(), static_cast<std::uint32_t>(noise.size() / 4));
    EXPECT_EQ(texture_pixels(texture_slot::noise_first), noise);
    EXPECT_EQ(texture_pixels(texture_slot::mizzle), decoded("pool/mizzle.png"));

    // The grain is the first thing the run draws from the shared sequence.
    Pixels grain(grain_size * grain_size * 4);
    std::uint32_t now = rand_state;
    rand_state = rand_start;
    grain_generate(grain.data());
    rand_state = now;
    EXPECT_EQ(texture_pixels(texture_slot::grain), grain);

    EXPECT_EQ(wrap(texture_slot::test_picture), GL_REPEAT);
    EXPECT_EQ(wrap(texture_slot::arrow), GL_REPEAT);
    // The first and last face of every sky set.
    for (int sky : {texture_slot::sky_0, texture_slot::sky_1, texture_slot::sky_2})
        for (int slot : {sky, sky + 5}) EXPECT_EQ(wrap(slot), GL_CLAMP_TO_EDGE) << slot;
}

TEST_F(Demo, SkyFacesSitInFrontBackLeftRightUpDownOrder) {
    const char* faces = "fblrud";
    for (int set = 0; set < 3; ++set) {
        int first = set == 0 ? texture_slot::sky_0 : set == 1 ? texture_slot::sky_1 : texture_slot::sky_2;
        for (int face = 0; face < 6; ++face) {
            std::string path = "pool/cubemap_" + std::to_string(set) + faces[face] + ".png";
            EXPECT_EQ(texture_pixels(first + face), decoded(path.c_str())) << path;
        }
    }
}

// Render target 0 current, its back buffer cleared to black, untextured
// white drawing with an identity model-view matrix.
void blank_scene_target() {
    const Pbuffer& target = render_targets[target_scene];
    EXPECT_TRUE(platform::make_gl_current(target.dc, target.context));
    glDrawBuffer(GL_BACK);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glColor3f(1, 1, 1);
    glLoadIdentity();
}

// Draws the text's display list into render target 0 and counts the pixels
// it covered: the list was compiled in the main context.
int pixels_covered_by_list_in_target() {
    const Pbuffer& target = render_targets[target_scene];
    blank_scene_target();
    glTranslatef(0, 0, -30);
    glCallList(precalc_gl.display_list_base + list_tekst);
    std::vector<std::uint8_t> rgba(static_cast<std::size_t>(target.width) * target.height * 4);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, target.width, target.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    int covered = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) covered += rgba[i] > 128;
    return covered;
}

TEST_F(Demo, ListsTexturesAndProgramsReachTargetsAndSurviveToggles) {
    EXPECT_GT(pixels_covered_by_list_in_target(), 1000);
    EXPECT_TRUE(glIsTexture(texture_table[1]));
    Pixels arrow = texture_pixels(texture_slot::arrow);
    ASSERT_EQ(window_setup(0), 0);
    ASSERT_EQ(window_setup(0), 0);
    EXPECT_GT(pixels_covered_by_list_in_target(), 1000);
    ASSERT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context));
    EXPECT_EQ(texture_pixels(texture_slot::arrow), arrow);
    while (glGetError() != GL_NO_ERROR) {
    }
    gl_ext.glUseProgramObjectARB(precalc_gl.program_hdr_low);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    gl_ext.glUseProgramObjectARB(0);
}

// A test scene straight into the window: a floor slab lit from the side by
// a light low on the right, a column standing on it, camera above.
class Shadows : public Demo {
protected:
    void SetUp() override {
        Demo::SetUp();
        floor.addBox({-40, -2, -40}, {40, 0, 40}, 63);
        floor.finalize("floor");
        floor.draw = drawTextured;
        floorObject.attach(&floor);
        floorObject.castsShadow = 0;
        floorObject.texture = 0;
        scene_state.object_list[0] = &floorObject;
        scene_state.object_list[1] = &columnObjects[0];
        scene_state.object_count = 2;
        pose_slot(scene_state, columnObjects[0]) = {0, 10, 0, 0, 0, 0};
        scene_state.camera_eye = {0, 70, 0.01};
        scene_state.camera_target = {0, 0, 0};
        scene_state.camera_roll = 3.141592653589;
        scene_state.light_count = 1;
        scene_state.light_position[0] = {30, 40, 0};
        scene_state.light_color[0] = {1, 1, 1};
        scene_state.light_attenuation = 1;
        scene_state.ambient_color = {0.1, 0.1, 0.1};
        camera_turn_update(scene_state);
    }
    Pixels render() {
        glViewport(0, 0, settings.window_width, settings.window_height);
        gl_perspective(field_of_view, static_cast<double>(settings.window_width) / settings.window_height, 0.1, 2048);
        glClearColor(0, 0, 0, 0);
        glClearStencil(0);
        glDepthMask(GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glEnable(GL_LIGHT1);
        scene_draw(scene_state, scratch);
        glDisable(GL_LIGHT1);
        glDepthMask(GL_TRUE);
        Pixels rgba(static_cast<std::size_t>(settings.window_width) * settings.window_height * 4);
        glReadBuffer(GL_BACK);
        glReadPixels(0, 0, settings.window_width, settings.window_height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    }
    Mesh floor{64, 64};
    SceneObject floorObject;
};

// Window x of a world point under the test camera.
double screen_x(const Vector3& p) {
    glPushMatrix();
    glLoadIdentity();
    look_at(scene_state);
    GLdouble m[16], proj[16];
    glGetDoublev(GL_MODELVIEW_MATRIX, m);
    glGetDoublev(GL_PROJECTION_MATRIX, proj);
    glPopMatrix();
    double eye[4], clip[4];
    for (int r = 0; r < 4; ++r) eye[r] = m[r] * p.x + m[4 + r] * p.y + m[8 + r] * p.z + m[12 + r];
    for (int r = 0; r < 4; ++r) clip[r] = proj[r] * eye[0] + proj[4 + r] * eye[1] + proj[8 + r] * eye[2] + proj[12 + r] * eye[3];
    return (clip[0] / clip[3] + 1) / 2 * settings.window_width;
}

TEST_F(Shadows, ACasterDarkensTheFloorOnTheFarSideOfTheLight) {
    columnObjects[0].castsShadow = 0;
    Pixels lit = render();
    columnObjects[0].castsShadow = 1;
    Pixels shadowed = render();
    scene_state.light_color[0] = {0, 0, 0};
    Pixels unlit = render();
    double column_x = screen_x({0, 0, 0}), light_x = screen_x(scene_state.light_position[0]);
    int darker_away = 0, darker_toward = 0, brighter = 0, not_ambient = 0;
    for (int y = 0; y < settings.window_height; ++y)
        for (int x = 0; x < settings.window_width; ++x) {
            std::size_t i = (static_cast<std::size_t>(y) * settings.window_width + x) * 4;
            int change = shadowed[i] - lit[i];
            bool away = (x - column_x) * (light_x - column_x) < 0;
            if (change < -10) {
                (away ? darker_away : darker_toward)++;
                // In the shadow only the ambient base pass remains.
                not_ambient += std::abs(shadowed[i] - unlit[i]) > 2;
            }
            brighter += change > 2;
        }
    EXPECT_GT(darker_away, 1000);
    EXPECT_EQ(darker_toward, 0);
    EXPECT_EQ(brighter, 0);
    EXPECT_EQ(not_ambient, 0);
}

TEST_F(Shadows, EmptyListEntriesAreSkipped) {
    Pixels before = render();
    scene_state.object_list[2] = scene_state.object_list[1];
    scene_state.object_list[1] = nullptr;
    scene_state.object_count = 3;
    EXPECT_EQ(render(), before);  // the same picture: the column drawn from its new place
    scene_state.object_list[1] = scene_state.object_list[2];
    scene_state.object_count = 2;
}

TEST_F(Shadows, EveryLightClearsTheStencilEvenWithNothingListed) {
    scene_state.object_count = 0;
    scene_state.light_count = 2;
    glClearStencil(7);
    glClear(GL_STENCIL_BUFFER_BIT);
    glClearStencil(0);
    glEnable(GL_LIGHT1);
    scene_draw(scene_state, scratch);
    glDisable(GL_LIGHT1);
    GLubyte stencil = 99;
    glReadPixels(settings.window_width / 2, settings.window_height / 2, 1, 1, GL_STENCIL_INDEX, GL_UNSIGNED_BYTE,
                 &stencil);
    EXPECT_EQ(stencil, 0);
}

// The window's drawing area after a frame, as RGBA rows bottom-up.
Pixels drawing_area() {
    glFinish();
    Pixels rgba(static_cast<std::size_t>(settings.area_width) * settings.area_height * 4);
    glReadBuffer(GL_BACK);
    AreaRect area = readback_area_rect();
    glReadPixels(area.x, area.y, area.width, area.height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

int brightest(const Pixels& rgba) {
    int most = 0;
    for (std::size_t i = 0; i < rgba.size(); i += 4) most = std::max({most, int(rgba[i]), int(rgba[i + 1]), int(rgba[i + 2])});
    return most;
}

int grey_at(const Pixels& rgba, int x, int y) {
    return rgba[(static_cast<std::size_t>(y) * settings.area_width + x) * 4 + 1];
}

// A white square in an otherwise black scene, split and blurred: light
// spreads around it in the glow, none reaches the far corners.
TEST_F(Demo, GlowSpreadsLightAroundBrightPixels) {
    FrameView view = frame_view_at(10, AreaSize{settings.area_width, settings.area_height});
    blank_scene_target();
    glDisable(GL_DEPTH_TEST);
    glBegin(GL_QUADS);
    glVertex3f(-0.05f, -0.05f, -1);
    glVertex3f(0.05f, -0.05f, -1);
    glVertex3f(0.05f, 0.05f, -1);
    glVertex3f(-0.05f, 0.05f, -1);
    glEnd();
    scene_state.hdr_level = 0.5f;
    scene_state.background_mode = 1;  // black under the glow
    tone_split(view, scene_state.hdr_level);
    glow_chain(view);
    composite(view, scene_state);
    Pixels picture = drawing_area();
    int cx = settings.area_width / 2, cy = settings.area_height / 2;
    int half = static_cast<int>(0.05f / view.h * settings.area_height / 2);
    EXPECT_GT(grey_at(picture, cx, cy), 40);
    EXPECT_GT(grey_at(picture, cx + half + 6, cy), 5) << "no glow beside the square";
    EXPECT_LT(grey_at(picture, cx + half + 6, cy), grey_at(picture, cx, cy));
    EXPECT_EQ(grey_at(picture, 3, 3), 0);
    EXPECT_EQ(grey_at(picture, settings.area_width - 4, settings.area_height - 4), 0);
}

double seconds_at_beat(double beat) { return beat / beats_per_second; }

// At beat 356 the music has stopped: background black, no highlights, the
// image flash only begins to fade in.
TEST_F(Demo, AfterTheMusicTheWindowIsBlack) {
    frame_render(frames, frame_input_now(clock, static_cast<float>(seconds_at_beat(356.0001))), scratch);
    EXPECT_LE(brightest(drawing_area()), 3);
}

// The middle pixel of a target's front buffer.
std::vector<int> front_middle(const Pbuffer& target) {
    EXPECT_TRUE(platform::make_gl_current(target.dc, target.context));
    unsigned char rgba[4] = {};
    glReadBuffer(GL_FRONT);
    glReadPixels(target.width / 2, target.height / 2, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    glReadBuffer(GL_BACK);
    return {rgba[0], rgba[1], rgba[2]};
}

// A pbuffer's front buffer does not keep its pixels on every driver
// (softpipe reads it back black, so a glow passed through fronts vanished
// there): a whole frame leaves every target's front as it was. Only a
// driver that keeps fronts can tell.
TEST_F(Demo, AFrameDrawsIntoNoTargetsFrontBuffer) {
    const std::vector<int> green = {0, 255, 0};
    for (const Pbuffer& target : render_targets) {
        ASSERT_TRUE(platform::make_gl_current(target.dc, target.context));
        glDrawBuffer(GL_FRONT);
        glClearColor(0, 1, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glDrawBuffer(GL_BACK);
        if (front_middle(target) != green) GTEST_SKIP() << "this driver keeps no pbuffer front buffer";
    }
    frame_render(frames, frame_input_now(clock, static_cast<float>(seconds_at_beat(170))), scratch);
    for (int i = 0; i < render_target_count; ++i) EXPECT_EQ(front_middle(render_targets[i]), green) << "target " << i;
}

TEST_F(Demo, WithoutExtensionsTheSceneGoesStraightToTheWindow) {
    glext_ready = 0;
    const Pbuffer& scene = render_targets[target_scene];
    ASSERT_TRUE(platform::make_gl_current(scene.dc, scene.context));
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    ASSERT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context));
    frame_render(frames, frame_input_now(clock, static_cast<float>(seconds_at_beat(120))), scratch);
    glext_ready = 1;
    Pixels picture = drawing_area();
    EXPECT_GT(brightest(picture), 60);
    // Render target 0 was not touched.
    ASSERT_TRUE(platform::make_gl_current(scene.dc, scene.context));
    unsigned char rgba[4] = {};
    glReadBuffer(GL_BACK);
    glReadPixels(10, 10, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    EXPECT_EQ(rgba[2], 255);
    ASSERT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context));
}

// Pictures that cannot be decoded leave a visible checker in their slot
// instead of an upload with a size nobody read.
TEST_F(Demo, UnreadablePicturesGetACheckerPlaceholder) {
    fake::TempDir stand_ins;
    fake::write_demo_files();
    fake::write_file("pool/tarrow.png", "not a picture at all");
    fake::write_file("pool/noise_k.png", std::string("\x89PNG\r\n\x1a\n", 8));
    blob_close();
    blob_open();
    Pixels pixels(scratch_pixels_bytes);
    texture_table_fill(pixels.data(), scratch_pixels_bytes);
    int width = 0;
    // noise_k is the third noise picture.
    for (int slot : {texture_slot::arrow, texture_slot::noise_first + 2}) {
        Pixels checker = texture_pixels(slot, &width);
        ASSERT_EQ(width, 8) << slot;
        EXPECT_EQ(checker[0], 0);
        EXPECT_EQ(checker[4], 255);  // magenta beside black
        EXPECT_EQ(checker[5], 0);
        EXPECT_EQ(checker[6], 255);
    }
    EXPECT_EQ(texture_pixels(0, &width).size(), 2u * 2 * 4);  // the readable stand-in
    blob_close();
    blob_open();
}

}  // namespace
