// The settings read from config.xml, with their built-in defaults.
#pragma once

#include <cstdint>

// The window sizes config.xml may ask for; others are clamped to them.
constexpr std::int32_t window_min_width = 320, window_max_width = 3200;
constexpr std::int32_t window_min_height = 240, window_max_height = 2400;

struct Settings {
    std::int32_t window_width = 800;
    std::int32_t window_height = 600;
    // What config.xml asked for before the clamp (the fallback when missing).
    long long asked_width = 800;
    long long asked_height = 600;
    std::int32_t color_depth = 32;
    const char* window_caption = nullptr;  // points into the XML string pool
    std::int32_t area_width = 800;         // the drawing area: the largest rectangle
    std::int32_t area_height = 450;        // of the viewport's aspect in the window
    std::int32_t fullscreen = 0;
    std::int32_t audio_enabled = 1;
    float demo_length = 150.0f;  // seconds; where the system clock stops
    std::int32_t halign = 1;
    std::int32_t valign = 1;
    std::int32_t multisample = 0;
    std::int32_t glext = 1;
    std::int32_t debug_console = 0;
    std::int32_t debug_timeline = 0;
};

// The settings of the run.
extern Settings settings;

// Puts every setting back to its built-in default.
void settings_defaults();

enum ConfigResult : int {
    config_ok = 0,
    config_unreadable = -1,   // the file could not be loaded: the defaults stand
    config_key_missing = -2,  // some key was missing: its fallback stands
};

// Reads the settings file.
ConfigResult config_load(const char* path);

// Computes area_width and area_height for a viewport aspect.
void area_compute(float viewport_width, float viewport_height);
