// Off-screen render targets: pbuffers whose front and back colour buffers
// can be bound as textures.
#pragma once

#include "platform/platform.h"

struct Pbuffer {
    void* handle;             // the pbuffer, null when absent
    platform::Handle dc;      // its device context, 0 when absent
    platform::Handle context; // its GL context, 0 when absent
    int width;                // requested, then the size actually granted
    int height;
    int bits;
};

// The render targets by what they hold; each has a render texture of the
// same index to bind its images onto.
enum RenderTarget : int {
    target_scene = 0,   // the scene as drawn
    target_base = 1,    // its base image, below the HDR cut
    target_blur_a = 2,  // the two small halves the blur passes go through
    target_blur_b = 3,
    target_glow = 4,    // the highlights, and then the finished glow
    render_target_count = 5,
};
extern Pbuffer render_targets[render_target_count];

enum PbufferResult : int {
    pbuffer_ok = 0,
    pbuffer_no_format = -2,   // no pixel format for it
    pbuffer_no_pbuffer = -3,  // the driver made no pbuffer
    pbuffer_no_dc = -4,       // the pbuffer has no device context
    pbuffer_no_context = -5,  // no GL context for it (the pbuffer is given back)
};

PbufferResult pbuffer_create(platform::Handle dc, Pbuffer* target);

// Releases context, DC and pbuffer, reporting each failure; always 0.
int pbuffer_destroy(Pbuffer* target);
