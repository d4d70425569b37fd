// The five post-processing shaders of pool/ build and link under Mesa
// without a word from the builder, and expose the uniforms the frame sets.
#include <gtest/gtest.h>

#include <string>

#include "config/settings.h"
#include "data/file_table.h"
#include "gl/glext.h"
#include "shader/shader_builder.h"
#include "temp_dir.h"
#include "window/window.h"

namespace {

TEST(PoolShaders, AllFiveBuildSilentlyWithTheirUniforms) {
    fake::TempDir dir;
    fake::link_pool(HEDEN_POOL_DIR);
    blob_open();
    settings_defaults();
    ASSERT_EQ(window_setup(1), 0) << "needs an X display with GLX";
    ASSERT_EQ(glext_ready, 1);
    const char* names[] = {"glow_hor", "glow_ver", "zbuffer", "hdr_low", "hdr_hi"};
    while (glGetError() != GL_NO_ERROR) {
    }
    ext::Handle programs[5] = {};
    testing::internal::CaptureStdout();
    platform::console_allocate();
    for (int i = 0; i < 5; ++i) shader_builder((std::string("pool/shader/") + names[i] + ".txt").c_str(), &programs[i]);
    blob_close();
    std::string log = testing::internal::GetCapturedStdout();
    EXPECT_EQ(log.find("glsl build"), std::string::npos) << log;
    EXPECT_EQ(log.find("gl errors"), std::string::npos) << log;
    for (auto program : programs) EXPECT_NE(program, 0u);
    EXPECT_GE(gl_ext.glGetUniformLocationARB(programs[4], "hdr_cut"), 0);
    EXPECT_GE(gl_ext.glGetUniformLocationARB(programs[3], "hdr_icut"), 0);
    window_destroy();
}

}  // namespace
