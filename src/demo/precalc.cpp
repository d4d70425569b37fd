#include "demo/precalc.h"

#include <cstdlib>

#include "data/file_table.h"
#include "demo/texture_fill.h"
#include "demo/texture_slots.h"
#include "gl/gl_defaults.h"
#include "image/texture.h"
#include "iso/volume_sources.h"
#include "log/log.h"
#include "lwo/lightwave.h"
#include "mesh/global_meshes.h"
#include "mesh/mesh_draw.h"
#include "shader/shader_builder.h"
#include "window/window.h"

ext::Handle program_glow_hor, program_glow_ver, program_zbuffer, program_hdr_low, program_hdr_hi;
GLint hdr_cut_location = -1;
GLint hdr_icut_location = -1;
GLuint display_list_base;
GLuint render_textures[render_target_count];
std::uint8_t* scratch_pixels;

namespace {

const char* const shader_paths[5] = {"pool/shader/glow_hor.txt", "pool/shader/glow_ver.txt",
                                     "pool/shader/zbuffer.txt", "pool/shader/hdr_low.txt", "pool/shader/hdr_hi.txt"};

}  // namespace

void precalc_programs() {
    if (!glext_ready) {
        // The archive hands out its entries in load order and is recorded
        // with the programs built: read the texts all the same, so that every
        // later file still gets its own bytes.
        for (const char* path : shader_paths) {
            FileData file{};
            if (load_file(path, &file) == 0) release_file(path, &file);
        }
        return;
    }
    ext::Handle* programs[5] = {&program_glow_hor, &program_glow_ver, &program_zbuffer, &program_hdr_low,
                                &program_hdr_hi};
    const char* failed = nullptr;
    for (int i = 0; i < 5; ++i)
        if (!shader_builder(shader_paths[i], programs[i]) && !failed) failed = shader_paths[i];
    hdr_cut_location = ext::glGetUniformLocationARB(program_hdr_hi, "hdr_cut");
    hdr_icut_location = ext::glGetUniformLocationARB(program_hdr_low, "hdr_icut");
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

// Compiles the mesh with `draw` into list base + offset, after which the
// mesh plays the list back.
void compile(Mesh& mesh, MeshDraw draw, GLuint offset) {
    mesh.draw = draw;
    mesh.compileList(display_list_base + offset);
}

void place(SceneObject& object, Mesh& mesh, int casts_shadow, int texture) {
    object.castsShadow = casts_shadow;
    object.attach(&mesh);
    object.texture = texture;
}

void position(SceneObject& object, double x, double y, double z) {
    object.x = x, object.y = y, object.z = z;
}

void build_volumes() {
    CellPolygonizer polygonizer;
    polygonizer.mesh = &sphereMesh;
    iso_sphere(polygonizer, "sphere");
    place(sphereObject, sphereMesh, 0, 0);
    compile(sphereMesh, drawSphereMapSmooth, 0);
    position(sphereObject, 0, 0, 0);

    polygonizer.mesh = &basketMesh;
    iso_basket(polygonizer, "basket");
    place(basketObject, basketMesh, 0, 0);
    compile(basketMesh, drawSphereMapSmooth, 1);
    position(basketObject, 0, 0, 0);

    polygonizer.mesh = &poleMesh;
    iso_pole(polygonizer, "pole");
    poleMesh.scale(1, 4, 1);
    poleMesh.finalize("pole");
    compile(poleMesh, drawSphereMapSmooth, 4);
    for (SceneObject& pole : poleObjects) place(pole, poleMesh, 0, 0);
}

void build_dolphin() {
    dolphinMesh.clear();
    FileData file{};
    if (load_file("pool/dolphin.lwo", &file) == 0) {
        dolphinMesh.readLightWave(static_cast<std::int32_t>(file.size), file.data);
        release_file("pool/dolphin.lwo", &file);
    }
    dolphinMesh.finalize("lwo");
    dolphinMesh.scale(0.01, 0.01, 0.01);
    dolphinMesh.finalize("dolfijn");
    dolphinObject.attach(&dolphinMesh);
    dolphinObject.pitch = 3.141592653589;
    dolphinObject.castsShadow = 0;
    dolphinObject.texture = 0;
    compile(dolphinMesh, drawSphereMapSmooth, 5);
}

void build_frames_and_tunnel() {
    Mesh* wires[3] = {&wire0Mesh, &wire1Mesh, &wire2Mesh};
    const char* names[3] = {"wire0", "wire1", "wire2"};
    const double sizes[3][2] = {{60, 64}, {30, 32}, {90, 96}};
    for (int i = 0; i < 3; ++i) {
        wires[i]->buildCubeFrame(names[i], sizes[i][0], sizes[i][1]);
        wires[i]->draw = drawSphereMapSmooth;
        place(wireObjects[i], *wires[i], 1, 0);
    }
    tunnelInnerMesh.buildTunnelSegment("wireTujnnel", 7, 8);
    tunnelInnerMesh.draw = drawSphereMapFlat;
    tunnelOuterMesh.buildTunnelSegment("wireTujnnel", 21.5, 22.5);
    tunnelOuterMesh.draw = drawSphereMapFlat;
    for (int i = 0; i < 8; ++i) {
        place(tunnelInnerObjects[i], tunnelInnerMesh, 1, 0);
        position(tunnelInnerObjects[i], 0, 0, 29.0 * i);
        place(tunnelOuterObjects[i], tunnelOuterMesh, 1, 0);
        position(tunnelOuterObjects[i], 0, 0, 87.0 * i);
    }
}

void build_prism(Mesh& mesh, double sx, double sy, double sz, const char* name, MeshDraw draw) {
    mesh.buildHexaPrism();
    mesh.scale(sx, sy, sz);
    mesh.finalize(name);
    mesh.draw = draw;
}

void build_airships_and_columns() {
    build_prism(airshipMeshA, 4, 16, 4, "airship", drawSphereMapSmooth);
    build_prism(airshipMeshB, 6, 12, 6, "airship", drawSphereMapFlat);
    for (int j = 0; j < 16; ++j) {
        place(airshipObjects[j], j % 2 ? airshipMeshA : airshipMeshB, 1, texture_slot::sky_2);
        position(airshipObjects[j], 0, 0, 30);
        airshipObjects[j].pitch = 1.570796;
    }
    build_prism(columnMesh, 2, 10, 2, "column", drawTextured);
    place(columnObjects[0], columnMesh, 1, 0);
    position(columnObjects[0], 17, 0, 11);
    place(columnObjects[1], columnMesh, 1, 0);
    position(columnObjects[1], 13, 0, -12);
}

void create_render_textures() {
    glGenTextures(render_target_count, render_textures);
    for (GLuint texture : render_textures) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP);
    }
}

}  // namespace

void precalc_stored_meshes() {
    tekstMesh.loadFile("pool/iso/tekst.bin");
    compile(tekstMesh, drawSphereMapSmooth, 3);
    for (SceneObject& tekst : tekstObjects) {
        place(tekst, tekstMesh, 0, 0);
        position(tekst, 0, 0, 0);
    }
    canyonMesh.loadFile("pool/iso/canyon.bin");
    compile(canyonMesh, drawSphereMapSmooth, 6);
    place(canyonObject, canyonMesh, 0, texture_slot::mizzle);
    position(canyonObject, 0, 0, 0);
}

void precalc_share_lists() {
    for (const Pbuffer& target : render_targets) platform::share_gl_lists(main_context, target.context);
    log_print("w g l\n");
}

void precalc_volumes() {
    display_list_base = glGenLists(16);
    build_volumes();
}

void precalc_built_meshes() {
    build_dolphin();
    build_frames_and_tunnel();
    build_airships_and_columns();
}

void precalc_textures() {
    if (!scratch_pixels) scratch_pixels = static_cast<std::uint8_t*>(std::malloc(scratch_pixels_bytes));
    make_current_checked(main_dc, main_context);
    glEnable(GL_TEXTURE_2D);
    if (glext_ready) create_render_textures();
    if (scratch_pixels)
        texture_table_fill();
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
