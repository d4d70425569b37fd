// Local stand-in until the scene scripts land.
#pragma once
void scene_dispatch(double beat);
void end_scene(double t);
