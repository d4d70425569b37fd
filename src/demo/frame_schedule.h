// One frame of the demo, drawn into the current context.
#pragma once

void frame_render();
