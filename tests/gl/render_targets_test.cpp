// The GL platform on Mesa through the real x11 backend.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "config/settings.h"
#include "data/file_table.h"
#include "gl/gl_defaults.h"
#include "gl/glext.h"
#include "gl/pbuffer.h"
#include "platform/wgl.h"
#include "shader/shader_builder.h"
#include "temp_dir.h"
#include "window/window.h"
#include "window/window_proc.h"

namespace {

class Mesa : public ::testing::Test {
protected:
    void SetUp() override {
        fake::link_pool(HEDEN_POOL_DIR);
        blob_open();
        settings_defaults();
        ASSERT_EQ(window_setup(1), 0) << "needs an X display with GLX (DISPLAY=" << (getenv("DISPLAY") ? getenv("DISPLAY") : "") << ")";
        ASSERT_EQ(glext_ready, 1);
    }
    void TearDown() override {
        window_destroy();
        blob_close();
    }
    fake::TempDir dir;

    std::vector<GLint> integers(GLenum name, int count) {
        std::vector<GLint> values(static_cast<std::size_t>(count));
        glGetIntegerv(name, values.data());
        return values;
    }
    std::vector<GLfloat> matrix(GLenum name) {
        std::vector<GLfloat> m(16);
        glGetFloatv(name, m.data());
        return m;
    }
    // Fills one colour buffer of a target with a flat colour.
    void fill(const Pbuffer& target, GLenum buffer, float r, float g, float b) {
        ASSERT_TRUE(platform::make_gl_current(target.dc, target.context));
        glDrawBuffer(buffer);
        glClearColor(r, g, b, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glFinish();
    }
    // Binds a target's colour buffer to a fresh texture in the main context
    // and returns the texel in the middle.
    std::vector<unsigned char> texel_through_binding(const Pbuffer& target, int buffer) {
        EXPECT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context));
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_TRUE(gl_ext.wglBindTexImageARB(target.handle, buffer));
        std::vector<unsigned char> pixels(static_cast<std::size_t>(target.width * target.height * 4));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        EXPECT_TRUE(gl_ext.wglReleaseTexImageARB(target.handle, buffer));
        std::size_t middle = static_cast<std::size_t>((target.height / 2 * target.width + target.width / 2) * 4);
        return {pixels[middle], pixels[middle + 1], pixels[middle + 2]};
    }
};

TEST_F(Mesa, MainContextGetsTheDrawingAreaAndItsProjection) {
    EXPECT_EQ(integers(GL_VIEWPORT, 4), (std::vector<GLint>{0, 75, 800, 450}));
    std::vector<GLfloat> projection = matrix(GL_PROJECTION_MATRIX);
    EXPECT_NEAR(projection[0], 450.0 / 800.0, 1e-6);  // near / right = 1 / aspect
    EXPECT_NEAR(projection[5], 1.0, 1e-6);            // near / top = 1 / tan(45 degrees)
    EXPECT_NEAR(projection[10], -(2048 + 0.1) / (2048 - 0.1), 1e-6);
    std::vector<GLfloat> modelview = matrix(GL_MODELVIEW_MATRIX);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(modelview[i], i % 5 == 0 ? 1.0f : 0.0f);
    EXPECT_EQ(integers(GL_MATRIX_MODE, 1)[0], GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_EQ(integers(GL_FRONT_FACE, 1)[0], GL_CCW);
    EXPECT_EQ(integers(GL_SHADE_MODEL, 1)[0], GL_SMOOTH);
}

TEST_F(Mesa, OddMarginsTruncateTowardZero) {
    settings.window_width = 801;
    settings.area_width = 800;
    settings.area_height = 450;
    gl_defaults(window_state.main_dc, window_state.main_context);
    EXPECT_EQ(integers(GL_VIEWPORT, 4), (std::vector<GLint>{0, 75, 800, 450}));
}

TEST_F(Mesa, RenderTargetsHaveTheirSizesAndState) {
    const int sizes[render_target_count][2] = {{1024, 512}, {1024, 512}, {256, 256}, {256, 256}, {1024, 512}};
    for (int i = 0; i < render_target_count; ++i) {
        const Pbuffer& target = render_targets[i];
        EXPECT_EQ(target.width, sizes[i][0]);
        EXPECT_EQ(target.height, sizes[i][1]);
        ASSERT_TRUE(platform::make_gl_current(target.dc, target.context));
        EXPECT_EQ(integers(GL_VIEWPORT, 4), (std::vector<GLint>{0, 0, target.width, target.height}));
        EXPECT_EQ(glIsEnabled(GL_DEPTH_TEST) == GL_TRUE, i == 0) << "target " << i;
        EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
        // The projection frames the screen image, not the target.
        EXPECT_NEAR(matrix(GL_PROJECTION_MATRIX)[0], 450.0 / 800.0, 1e-6);
        GLint depth = 0, stencil = 0;
        glGetIntegerv(GL_DEPTH_BITS, &depth);
        glGetIntegerv(GL_STENCIL_BITS, &stencil);
        EXPECT_GE(depth, 16);
        EXPECT_GE(stencil, 8);
    }
}

TEST_F(Mesa, FrontAndBackOfATargetAreTwoImagesThatBindAsTextures) {
    for (int i = 0; i < render_target_count; ++i) {
        const Pbuffer& target = render_targets[i];
        fill(target, GL_BACK, 1, 0, 0);
        fill(target, GL_FRONT, 0, 0, 1);
        EXPECT_EQ(texel_through_binding(target, wgl::back_left), (std::vector<unsigned char>{255, 0, 0})) << i;
        EXPECT_EQ(texel_through_binding(target, wgl::front_left), (std::vector<unsigned char>{0, 0, 255})) << i;
    }
}

// The frame binds the same texture again and again: each bind shows the
// target as it is now, and the target's own read buffer is left alone.
TEST_F(Mesa, RebindingOneTextureFollowsTheTargetAndKeepsItsReadBuffer) {
    const Pbuffer& target = render_targets[target_blur_a];
    ASSERT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context));
    GLuint texture = 0;
    glGenTextures(1, &texture);
    for (float red : {1.0f, 0.0f, 0.5f}) {
        fill(target, GL_BACK, red, 0, 1 - red);
        glReadBuffer(GL_FRONT);
        ASSERT_TRUE(platform::make_gl_current(window_state.main_dc, window_state.main_context));
        glBindTexture(GL_TEXTURE_2D, texture);
        ASSERT_TRUE(gl_ext.wglBindTexImageARB(target.handle, wgl::back_left));
        GLint width = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        EXPECT_EQ(width, target.width);
        unsigned char texel[4] = {};
        std::vector<unsigned char> pixels(static_cast<std::size_t>(target.width * target.height * 4));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        std::copy(pixels.begin(), pixels.begin() + 4, texel);
        EXPECT_NEAR(texel[0], red * 255, 1);
        EXPECT_NEAR(texel[2], (1 - red) * 255, 1);
        gl_ext.wglReleaseTexImageARB(target.handle, wgl::back_left);
        ASSERT_TRUE(platform::make_gl_current(target.dc, target.context));
        GLint read = 0;
        glGetIntegerv(GL_READ_BUFFER, &read);
        EXPECT_EQ(read, GL_FRONT);
    }
}

// The frame binds the scene's image in two contexts: it is copied once. A
// texture keeps its copy of a target (here marked by a texel written over
// it) until the target is drawn (made current: the test above) or another
// image is copied into the texture.
TEST_F(Mesa, ATargetNotDrawnSinceItsLastBindIsNotCopiedAgain) {
    const Pbuffer& a = render_targets[target_blur_a];
    const Pbuffer& b = render_targets[target_blur_b];
    const Pbuffer& other = render_targets[target_glow];
    fill(a, GL_BACK, 1, 0, 0);
    fill(b, GL_BACK, 0, 0, 1);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    auto texel_after_bind = [&](const Pbuffer* in, const Pbuffer& target) {
        EXPECT_TRUE(in ? platform::make_gl_current(in->dc, in->context)
                       : platform::make_gl_current(window_state.main_dc, window_state.main_context));
        glBindTexture(GL_TEXTURE_2D, texture);
        EXPECT_TRUE(gl_ext.wglBindTexImageARB(target.handle, wgl::back_left));
        std::vector<unsigned char> pixels(static_cast<std::size_t>(target.width * target.height * 4));
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        gl_ext.wglReleaseTexImageARB(target.handle, wgl::back_left);
        return std::vector<unsigned char>(pixels.begin(), pixels.begin() + 3);
    };
    auto mark = [&] {
        const unsigned char green[4] = {0, 255, 0, 255};
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, green);
    };
    const std::vector<unsigned char> red{255, 0, 0}, blue{0, 0, 255}, green{0, 255, 0}, black{0, 0, 0};
    EXPECT_EQ(texel_after_bind(nullptr, a), red);
    mark();
    EXPECT_EQ(texel_after_bind(&other, a), green) << "copied again in another context";
    EXPECT_EQ(texel_after_bind(nullptr, b), blue);
    EXPECT_EQ(texel_after_bind(nullptr, a), red) << "the texture held another target's image";
    EXPECT_EQ(texel_after_bind(&a, a), red);
    glClearColor(0, 0, 0, 1);  // still current: drawn without being made current
    glClear(GL_COLOR_BUFFER_BIT);
    glFinish();
    EXPECT_EQ(texel_after_bind(nullptr, a), black) << "drawn in the context that bound it";
}

TEST_F(Mesa, ObjectsMadeBeforeAFullscreenToggleStillWork) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char texel[4] = {10, 20, 30, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, texel);
    platform::Handle before = window_state.main_context;
    ASSERT_EQ(window_setup(0), 0);
    EXPECT_EQ(settings.fullscreen, 1);
    EXPECT_NE(window_state.main_context, 0u);
    ASSERT_EQ(window_setup(0), 0);
    EXPECT_EQ(settings.fullscreen, 0);
    EXPECT_NE(window_state.main_context, before);  // a fresh context...
    EXPECT_TRUE(glIsTexture(texture));  // ...that still knows the texture
    unsigned char read[4] = {};
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, read);
    EXPECT_EQ(std::vector<unsigned char>(read, read + 4), std::vector<unsigned char>(texel, texel + 4));
}

class Shaders : public Mesa {
protected:
    std::string build(const std::string& text, ext::Handle* program) {
        fake::TempDir scratch;
        fake::write_file("pool/shader/test.txt", text);
        blob_open();
        while (glGetError() != GL_NO_ERROR) {
        }  // the builder reports errors still pending from before
        testing::internal::CaptureStdout();
        platform::console_allocate();
        shader_builder("pool/shader/test.txt", program);
        blob_close();
        return testing::internal::GetCapturedStdout();
    }
};

TEST_F(Shaders, SectionedFileCompilesAndLinksSilently) {
    ext::Handle program = 0;
    std::string log = build(
        "// blur, one line per statement\r\n"
        ".common\n"
        "uniform float level;\n"
        "varying vec2 uv;\n"
        "  .vertex  \n"
        "void main() {\n"
        "uv = gl_MultiTexCoord0.xy; gl_Position = ftransform();\n"
        "}\n"
        ".fragment\n"
        "uniform sampler2D image;\n"
        "void main() { gl_FragColor = texture2D(image, uv) * level; }\n",
        &program);
    EXPECT_NE(program, 0u);
    EXPECT_EQ(log.find("glsl build"), std::string::npos) << log;
    EXPECT_EQ(log.find("gl errors"), std::string::npos) << log;
    EXPECT_GE(gl_ext.glGetUniformLocationARB(program, "level"), 0);
}

TEST_F(Shaders, BrokenSourceIsReportedAndTheHandleStillStored) {
    ext::Handle program = 0;
    std::string log = build(".vertex\nvoid main() { gl_Position = ftransform(); }\n.fragment\nvoid main() { nonsense; }\n",
                            &program);
    EXPECT_NE(program, 0u);
    EXPECT_NE(log.find(" 0[[void main() { gl_Position = ftransform(); }]], 43\n"), std::string::npos) << log;
    EXPECT_NE(log.find("glsl build[ 0 1 0 ]\n"), std::string::npos) << log;
    EXPECT_NE(log.find("build infolog: "), std::string::npos);
}

}  // namespace
