// Everything the demo builds before it starts, behind the loading screen:
// shader programs, meshes and scene objects, display lists and textures.
#pragma once

#include <cstdint>

#include "gl/glext.h"
#include "gl/pbuffer.h"

// Where each mesh's display list lies after display_list_base.
enum DisplayList : GLuint {
    list_sphere = 0,
    list_basket = 1,
    list_tekst = 3,
    list_pole = 4,
    list_dolphin = 5,
    list_canyon = 6,
    display_list_count = 16,  // names reserved
};

// The GL objects start-up makes for the frames.
struct PrecalcGl {
    // The post-processing programs, built only with extensions.
    ext::Handle program_glow_hor, program_glow_ver, program_hdr_low, program_hdr_hi;
    GLint hdr_cut_location = -1;   // "hdr_cut" in hdr_hi
    GLint hdr_icut_location = -1;  // "hdr_icut" in hdr_low
    // First of the display_list_count list names.
    GLuint display_list_base;
    // One texture per render target (by RenderTarget), onto which the frame
    // binds its images.
    GLuint render_textures[render_target_count];
};

extern PrecalcGl precalc_gl;

// The size of the one picture buffer every image is decoded into and
// uploaded from.
constexpr std::uint32_t scratch_pixels_bytes = 4194304;

// The loading screen at 0, the stages below in this order with the loading
// screen at 0.5 after the volumes, then the list sharing and an error check.
// The frames' state starts where all of this left the objects and the
// random sequence: its owner resets it after this (frame_state_reset).
void precalc();

// The four post-processing programs the passes use and the two uniform
// locations. The unused z-buffer program's text, and without extensions
// every text, is only read, to keep the archive's load order.
void precalc_programs();
// The display list names and the generated isosurfaces with their lists.
void precalc_volumes();
// The dolphin, the frames, tunnel segments, airships and columns, and the
// dolphin's list.
void precalc_built_meshes();
// The picture buffer, the render textures and the texture table.
void precalc_textures();
// The text and the canyon from their files, with their lists.
void precalc_stored_meshes();

// Lets the four render targets' contexts see the main context's lists,
// textures and programs, then says so.
void precalc_share_lists();
