#include "demo/precalc.h"

#include <cstdlib>

#include "data/file_table.h"
#include "demo/loading_screen.h"
#include "demo/scene_geometry.h"
#include "demo/texture_fill.h"
#include "gl/gl_defaults.h"
#include "log/log.h"
#include "mesh/global_meshes.h"
#include "shader/shader_builder.h"
#include "window/window.h"

PrecalcGl precalc_gl;

namespace {

// Made by the first texture stage and kept for the rest of the run.
std::uint8_t* scratch_pixels;

const char* const shader_paths[5] = {"pool/shader/glow_hor.txt", "pool/shader/glow_ver.txt",
                                     "pool/shader/zbuffer.txt", "pool/shader/hdr_low.txt", "pool/shader/hdr_hi.txt"};

// The archive hands out its entries in load order and is recorded with the
// programs built: a text whose program is not built is read all the same,
// so that every later file still gets its own bytes.
void shader_text_skip(const char* path) {
    FileData file{};
    if (load_file(path, &file) == load_ok) release_file(path, &file);
}

}  // namespace

void precalc_programs() {
    if (!glext_ready) {
        for (const char* path : shader_paths) shader_text_skip(path);
        return;
    }
    PrecalcGl& gl = precalc_gl;
    // No pass draws with the z-buffer program: building it would only cost
    // the driver's compiler, and a failure there would take the glow away.
    ext::Handle* programs[5] = {&gl.program_glow_hor, &gl.program_glow_ver, nullptr, &gl.program_hdr_low,
                                &gl.program_hdr_hi};
    const char* failed = nullptr;
    for (int i = 0; i < 5; ++i) {
        if (!programs[i])
            shader_text_skip(shader_paths[i]);
        else if (!shader_builder(shader_paths[i], programs[i]) && !failed)
            failed = shader_paths[i];
    }
    gl.hdr_cut_location = gl_ext.glGetUniformLocationARB(gl.program_hdr_hi, "hdr_cut");
    gl.hdr_icut_location = gl_ext.glGetUniformLocationARB(gl.program_hdr_low, "hdr_icut");
    if (!failed) return;
    // A driver that offers shader objects may still refuse our shaders (a
    // fragment stage it cannot compile): a pass without its program would
    // leave every frame grey, so the demo draws as it does without
    // extensions.
    log_print("%s did not build: drawing without glow\n", failed);
    error_box("%s did not build: \ndrawing without glow", failed);
    render_targets_give_up();
}

namespace {

// Records the mesh's drawing into its list, after which the mesh plays the
// list back.
void compile(Mesh& mesh, DisplayList list) { mesh.compileList(precalc_gl.display_list_base + list); }

void create_render_textures() {
    glGenTextures(render_target_count, precalc_gl.render_textures);
    for (GLuint texture : precalc_gl.render_textures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
}

}  // namespace

void precalc_stored_meshes() {
    build_stored_meshes();
    compile(tekstMesh, list_tekst);
    compile(canyonMesh, list_canyon);
}

void precalc_share_lists() {
    for (const Pbuffer& target : render_targets) platform::share_gl_lists(window_state.main_context, target.context);
    log_print("w g l\n");
}

void precalc_volumes() {
    precalc_gl.display_list_base = glGenLists(display_list_count);
    build_volumes();
    compile(sphereMesh, list_sphere);
    compile(basketMesh, list_basket);
    compile(poleMesh, list_pole);
}

void precalc_built_meshes() {
    build_dolphin();
    build_frames_and_tunnel();
    build_airships_and_columns();
    compile(dolphinMesh, list_dolphin);
}

void precalc_textures() {
    if (!scratch_pixels) scratch_pixels = static_cast<std::uint8_t*>(std::malloc(scratch_pixels_bytes));
    make_current_checked(window_state.main_dc, window_state.main_context);
    glEnable(GL_TEXTURE_2D);
    if (glext_ready) create_render_textures();
    if (scratch_pixels)
        texture_table_fill(scratch_pixels, scratch_pixels_bytes);
    else
        log_print("no room for pictures: every texture slot stays empty\n");
}

void precalc() {
    loading_screen(0.0);
    precalc_programs();
    precalc_volumes();
    loading_screen(0.5);
    precalc_built_meshes();
    precalc_textures();
    precalc_stored_meshes();
    if (glext_ready) precalc_share_lists();
    log_print(glGetError() != GL_NO_ERROR ? "some gl errors already?\n" : "no gl errors so far\n");
}
