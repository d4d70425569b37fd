// The WGL pbuffer, render-texture and pixel-format entry points, implemented
// on GLX with the WGL signatures and semantics.
#pragma once

#include <string>

#include "platform/x11/x11_state.h"

namespace x11 {

// The WGL extensions the emulation can honour on this X server's GLX.
std::string wgl_extensions();

// Address of one of the emulated wgl* functions, null for other names.
void* wgl_proc_address(const char* name);

// The device context of a live pbuffer, or null.
DeviceContext* pbuffer_dc(platform::Handle handle);

// A device context was made current or swapped: when it is a pbuffer's, the
// copies of its images made so far are out of date.
void pbuffer_drawn(const DeviceContext* dc);

}  // namespace x11
