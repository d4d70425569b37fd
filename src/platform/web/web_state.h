// State shared by the web backend's files: the page's two windows and the
// cooperative threads.
#pragma once

#include "platform/platform.h"

namespace web {

// The demo's window (the page's canvas) and the timeline strip under it;
// 0 while there is none.
platform::Handle picture_window();
platform::Handle strip_window();

// Releases the icons attached to a window that goes.
void icons_release(platform::Handle window);

// Lets the other threads run until each waits again. The page has one
// thread: the others are fibers that run whenever the main one waits.
void threads_run();

// Hands the browser the main thread until the next animation frame
// (swap) or for `milliseconds` (waits), the other threads running first.
void yield_frame();
void yield_ms(int milliseconds);

}  // namespace web
