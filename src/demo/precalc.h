// Everything the demo builds before it starts, behind the loading screen:
// shader programs, meshes and scene objects, display lists and textures.
#pragma once

#include <cstdint>

#include "gl/glext.h"
#include "gl/pbuffer.h"

// The post-processing programs, built only with extensions.
extern ext::Handle program_glow_hor, program_glow_ver, program_zbuffer, program_hdr_low, program_hdr_hi;
extern GLint hdr_cut_location;   // "hdr_cut" in hdr_hi
extern GLint hdr_icut_location;  // "hdr_icut" in hdr_low

// First of the 16 display list names.
extern GLuint display_list_base;

// One texture per render target, onto which the frame binds its images.
extern GLuint render_textures[render_target_count];

// The size of the one picture buffer every image is decoded into and
// uploaded from.
constexpr std::uint32_t scratch_pixels_bytes = 4194304;

// The loading screen at 0, the stages below in this order with the loading
// screen at 0.5 after the volumes, then the list sharing and an error check;
// last, the frames' state starts where all of this left the objects and the
// random sequence.
void precalc();

// The five post-processing programs and the two uniform locations; without
// extensions their files are only read, to keep the archive's load order.
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
