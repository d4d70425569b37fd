// The settings read from config.xml, with their built-in defaults.
#pragma once

#include <cstdint>

extern std::int32_t window_width;
extern std::int32_t window_height;
extern std::int32_t color_depth;
extern const char* window_caption;  // points into the XML string pool
extern std::int32_t area_width;     // the drawing area: the largest rectangle
extern std::int32_t area_height;    // of the viewport's aspect in the window
extern std::int32_t fullscreen;
extern std::int32_t audio_enabled;
extern float demo_length;  // seconds; where the system clock stops
extern std::int32_t halign;
extern std::int32_t valign;
extern std::int32_t multisample;
extern std::int32_t glext;
extern std::int32_t debug_console;
extern std::int32_t debug_timeline;

// Puts every setting back to its built-in default.
void settings_defaults();

// Reads the settings file. 0 on success, -1 if the file could not be loaded
// (defaults stand), -2 if some key was missing (its fallback stands).
int config_load(const char* path);

// Computes area_width and area_height for a viewport aspect.
void area_compute(float viewport_width, float viewport_height);
