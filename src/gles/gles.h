// GL 1.x as the demo calls it, drawn with OpenGL ES 2.0.
//
// In the program every GL 1.x name the portable code calls is routed here
// at link time (the linker's --wrap, see src/gles/CMakeLists.txt): until
// start() the calls go on to the desktop driver unchanged; after it they
// are served on the ES context the platform made current. The ARB shader
// and WGL render-target entry points the portable code fetches by name come
// from proc_address() and from the platform's contexts and pbuffers, which
// are this library's contexts and targets.
#pragma once

#include <string>

#include "gles/es_api.h"

namespace gles {

struct Target;
struct Context;

// Loads the ES entry points on the current ES context and routes the GL 1.x
// calls here from now on. False, with the reason, when the driver lacks
// something the library needs.
bool start(ProcAddress address, std::string* problem);
bool active();

// A render target of the given size; null when the driver refuses one.
Target* target_create(int width, int height);
void target_destroy(Target* target);
int target_width(const Target* target);
int target_height(const Target* target);

// A GL 1.x context with its own state; objects (textures, lists, programs)
// are shared by all of them.
Context* context_create();
void context_destroy(Context* context);
// Draws with `context` into `target` from now on; (null, null) makes none
// current.
void make_current(Context* context, const Target* target);

// Shows the target's picture in the texture name bound in the current
// context until released (the render-texture binding of a pbuffer).
bool target_image_bind(const Target* target);
bool target_image_release(const Target* target);

// Copies the target's picture upright into the ES context's own
// framebuffer (0: a browser's canvas), filling it. False where the driver
// cannot blit (ES 2.0 without ES 3.0's glBlitFramebuffer).
bool target_show(const Target* target, int width, int height);

// Address of an entry point beyond GL 1.1 that the library provides (the
// ARB shader objects, glActiveTexture, glBlendEquation...), else null.
void* proc_address(const char* name);

// What the library offers, for the driver report: a GL version naming the
// ES driver underneath, and the extensions it implements.
std::string offered_version();
std::string offered_extensions();

}  // namespace gles
