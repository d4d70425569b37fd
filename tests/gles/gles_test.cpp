// The GL library drawing on Mesa's OpenGL ES (EGL, no display): GL 1.x calls
// in, pixels read back out.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gl/glext.h"
#include "gles/gles.h"
#include "platform/platform.h"

namespace {

constexpr int size = 32;

using Pixels = std::vector<unsigned char>;

// Every test draws with a fresh context into a fresh target.
class GlesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string problem;
        ASSERT_TRUE(platform::select_gl(platform::GlKind::es, &problem)) << problem;
        target = gles::target_create(size, size);
        context = gles::context_create();
        ASSERT_NE(target, nullptr);
        gles::make_current(context, target);
        view();
    }
    // Cleared, looking down -z: at depth d the view spans -d to d.
    static void view() {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        glMatrixMode(GL_PROJECTION);
        glFrustum(-0.1, 0.1, -0.1, 0.1, 0.1, 100);
        glMatrixMode(GL_MODELVIEW);
    }
    void TearDown() override {
        gles::make_current(nullptr, nullptr);
        gles::context_destroy(context);
        gles::target_destroy(target);
    }
    Pixels read() {
        Pixels rgb(size * size * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    gles::Target* target = nullptr;
    gles::Context* context = nullptr;
};

// A lit, sphere-mapped fan of triangles with a normal per vertex: what the
// meshes record into their lists.
void lit_mesh() {
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
    glBegin(GL_TRIANGLES);
    for (int i = 0; i < 8; ++i) {
        float a = 0.785f * i, b = 0.785f * (i + 1);
        glNormal3f(0, 0, 1);
        glVertex3f(0, 0, -2);
        glNormal3f(0.3f * std::cos(a), 0.3f * std::sin(a), 0.95f);
        glVertex3f(std::cos(a), std::sin(a), -2.5f);
        glNormal3f(0.3f * std::cos(b), 0.3f * std::sin(b), 0.95f);
        glVertex3f(std::cos(b), std::sin(b), -2.5f);
    }
    glEnd();
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
}

void lit_state() {
    const GLfloat diffuse[4] = {1, 0.5f, 0.25f, 0}, position[4] = {0.5f, 1, 0, 1};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT1);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_DEPTH_TEST);
}

TEST_F(GlesTest, ADisplayListReplaysItsImmediateDraw) {
    lit_state();
    lit_mesh();
    Pixels immediate = read();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    GLuint list = glGenLists(1);
    glNewList(list, GL_COMPILE);
    lit_mesh();
    glEndList();
    EXPECT_EQ(read(), Pixels(size * size * 3, 0)) << "compiling draws nothing";
    // The current normal is set elsewhere: the list's own normals count.
    glNormal3f(1, 0, 0);
    glCallList(list);
    Pixels replayed = read();
    EXPECT_EQ(replayed, immediate);
    EXPECT_NE(immediate, Pixels(size * size * 3, 0));
}

// The shadow volumes' stencil pass: no colour, no depth writes, the stencil
// counted where the volume lies behind the surface (depth fail). The lit
// pass then lights only where the count is 0.
TEST_F(GlesTest, TheStencilPassCountsVolumesBehindTheSurface) {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glColor3f(0.5f, 0.5f, 0.5f);
    glBegin(GL_QUADS);  // the surface, over the whole view
    glVertex3f(-5, -5, -3), glVertex3f(5, -5, -3), glVertex3f(5, 5, -3), glVertex3f(-5, 5, -3);
    glEnd();
    const unsigned char grey = read()[0];
    glEnable(GL_STENCIL_TEST);
    glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
    glDepthMask(GL_FALSE);
    glStencilFunc(GL_ALWAYS, 0, ~0u);
    glStencilOp(GL_KEEP, GL_INCR, GL_KEEP);
    glCullFace(GL_FRONT);
    // A back face of a volume behind the surface, over the left half only,
    // facing away from the viewer (clockwise as seen).
    glBegin(GL_QUADS);
    glVertex3f(-5, -5, -4), glVertex3f(-5, 5, -4), glVertex3f(0, 5, -4), glVertex3f(0, -5, -4);
    glEnd();
    EXPECT_EQ(read()[0], grey) << "the stencil pass writes no colour";
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glCullFace(GL_BACK);
    glDepthFunc(GL_EQUAL);
    glStencilFunc(GL_EQUAL, 0, ~0u);
    glStencilOp(GL_KEEP, GL_KEEP, GL_KEEP);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);
    glVertex3f(-5, -5, -3), glVertex3f(5, -5, -3), glVertex3f(5, 5, -3), glVertex3f(-5, 5, -3);
    glEnd();
    Pixels p = read();
    const int row = size / 2 * size * 3;
    EXPECT_EQ(p[row + 2 * 3], grey) << "in shadow: left alone";
    EXPECT_EQ(p[row + (size - 3) * 3], 255) << "outside the volume: lit";
}

// A render target keeps the picture's orientation: drawn red at the
// bottom, it reads back red at the bottom and shows red at the bottom when
// its picture is drawn as a texture into another target.
TEST_F(GlesTest, ARenderTargetKeepsThePicturesOrientation) {
    glColor3f(1, 0, 0);
    glBegin(GL_QUADS);
    glVertex3f(-5, -5, -1), glVertex3f(5, -5, -1), glVertex3f(5, 0, -1), glVertex3f(-5, 0, -1);
    glEnd();
    Pixels drawn = read();
    EXPECT_EQ(drawn[0], 255) << "bottom row red";
    EXPECT_EQ(drawn[(size - 1) * size * 3], 0) << "top row black";

    gles::Target* window = gles::target_create(size, size);
    gles::Context* shown = gles::context_create();
    gles::make_current(shown, window);
    view();
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    ASSERT_TRUE(gles::target_image_bind(target));
    glEnable(GL_TEXTURE_2D);
    glColor3f(1, 1, 1);
    glBegin(GL_QUADS);  // the whole view at depth 1 with the whole texture
    glTexCoord2f(0, 0), glVertex3f(-0.1f, -0.1f, -0.1f);
    glTexCoord2f(1, 0), glVertex3f(0.1f, -0.1f, -0.1f);
    glTexCoord2f(1, 1), glVertex3f(0.1f, 0.1f, -0.1f);
    glTexCoord2f(0, 1), glVertex3f(-0.1f, 0.1f, -0.1f);
    glEnd();
    gles::target_image_release(target);
    Pixels shown_pixels = read();
    EXPECT_EQ(shown_pixels, drawn);
    gles::make_current(context, target);
    gles::context_destroy(shown);
    gles::target_destroy(window);
}

template <typename Entry>
Entry entry(const char* name) {
    return reinterpret_cast<Entry>(gles::proc_address(name));
}

// A desktop shader text, as the glow's are written, built through the ARB
// entry points; 0 when it does not build on ES.
ext::Handle desktop_program(const char* fragment) {
    const char* vertex = "varying vec2 uv; void main() { uv = gl_MultiTexCoord0.xy; gl_Position = ftransform(); }";
    auto create_shader = entry<ext::Handle (*)(GLenum)>("glCreateShaderObjectARB");
    auto source = entry<void (*)(ext::Handle, GLsizei, const char**, const GLint*)>("glShaderSourceARB");
    auto compile = entry<void (*)(ext::Handle)>("glCompileShaderARB");
    auto attach = entry<void (*)(ext::Handle, ext::Handle)>("glAttachObjectARB");
    auto parameter = entry<void (*)(ext::Handle, GLenum, GLint*)>("glGetObjectParameterivARB");
    ext::Handle program = entry<ext::Handle (*)()>("glCreateProgramObjectARB")();
    for (auto [type, text] : {std::pair{GL_VERTEX_SHADER_ARB, vertex}, std::pair{GL_FRAGMENT_SHADER_ARB, fragment}}) {
        ext::Handle shader = create_shader(type);
        source(shader, 1, &text, nullptr);
        compile(shader);
        attach(program, shader);
    }
    entry<void (*)(ext::Handle)>("glLinkProgramARB")(program);
    GLint linked = 0;
    parameter(program, GL_OBJECT_LINK_STATUS_ARB, &linked);
    return linked ? program : 0;
}

// GL_CLAMP holds coordinates to [0, 1] and filters with the black border:
// a blur tap beyond the left edge reads half the edge texel, not the edge
// texel (clamp to edge) nor black (clamp to border).
TEST_F(GlesTest, ATranslatedShaderSamplesGlClampAsTheDesktopDoes) {
    ext::Handle program = desktop_program(
        "varying vec2 uv; uniform sampler2D image;"
        "void main() { gl_FragColor = vec4(texture2D(image, vec2(uv.x - 0.5, 0.5)).rgb, 1.0); }");
    ASSERT_NE(program, 0u);
    const unsigned char white[4 * 4 * 4] = {255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
                                            255, 255, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 4, 4, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);
    entry<void (*)(ext::Handle)>("glUseProgramObjectARB")(program);
    glBegin(GL_QUADS);  // s from 0 to 1 over the view: the taps lie at s - 0.5
    glTexCoord2f(0, 0), glVertex3f(-0.1f, -0.1f, -0.1f);
    glTexCoord2f(1, 0), glVertex3f(0.1f, -0.1f, -0.1f);
    glTexCoord2f(1, 1), glVertex3f(0.1f, 0.1f, -0.1f);
    glTexCoord2f(0, 1), glVertex3f(-0.1f, 0.1f, -0.1f);
    glEnd();
    entry<void (*)(ext::Handle)>("glUseProgramObjectARB")(0);
    Pixels p = read();
    const int middle = size / 2 * size * 3;
    EXPECT_NEAR(p[middle + 2 * 3], 128, 2) << "left of the edge: half the edge texel";
    EXPECT_EQ(p[middle + (size - 3) * 3], 255) << "inside: the texture";
}

}  // namespace
