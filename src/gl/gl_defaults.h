// The fixed starting state of every GL context: viewport, projection, hints.
#pragma once

#include "platform/platform.h"

// Vertical field of view in degrees.
constexpr float field_of_view = 90.0f;
// Turns degrees into the half angle in radians.
constexpr double half_angle_factor = 0.008726646259969445;

// Half the height of the view at distance 1 for a vertical field of view in
// degrees: tan(fov / 2). The width is this times the aspect.
double view_half_height(double fov_degrees = field_of_view);

// Makes the context current; on failure shows the error box and returns
// false, leaving whatever context was current.
bool make_current_checked(platform::Handle dc, platform::Handle context);

// Loads a perspective projection and leaves an identity model-view matrix.
void gl_perspective(double fov_degrees, double aspect, double near_plane, double far_plane);

// Sets up the window's context and, with extensions, the render targets;
// leaves the window's context current.
void gl_defaults(platform::Handle dc, platform::Handle context);
