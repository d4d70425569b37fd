#include "config/settings.h"

#include <algorithm>
#include <cstdlib>

#include "log/log.h"
#include "config/xml.h"
#include "config/xml_path.h"

std::int32_t window_width;
std::int32_t window_height;
std::int32_t color_depth;
const char* window_caption;
std::int32_t area_width;
std::int32_t area_height;
std::int32_t fullscreen;
std::int32_t audio_enabled;
float demo_length;
std::int32_t halign;
std::int32_t valign;
std::int32_t multisample;
std::int32_t glext;
std::int32_t debug_console;
std::int32_t debug_timeline;

namespace {

// The built-in defaults are in force before anything is read.
struct DefaultsAtStart {
    DefaultsAtStart() { settings_defaults(); }
} defaults_at_start;

std::int32_t read_int(const char* path, std::int32_t fallback, std::int32_t low, std::int32_t high) {
    const char* text = xml_value(path);
    // Like atoi, but numbers beyond 32 bits saturate instead of overflowing.
    long long value = text ? std::strtoll(text, nullptr, 10) : fallback;
    if (value < low) return low;
    if (value > high) return high;
    return static_cast<std::int32_t>(value);
}

float read_float(const char* path, float fallback, float low, float high) {
    const char* text = xml_value(path);
    float value = text ? static_cast<float>(std::atof(text)) : fallback;
    if (!(value >= low)) return low;  // NaN lands on the lower bound too
    if (value > high) return high;
    return value;
}

void show_load_errors() {
    if (xml_errors.count == 2) {
        const char* second = xml_error_pop();
        const char* first = xml_error_pop();
        error_box("fatal:\n0.%s1.%s", first, second);
        return;
    }
    error_box("an xml errors occured %s ", xml_error_pop());
}

}  // namespace

void settings_defaults() {
    window_width = 800;
    window_height = 600;
    color_depth = 32;
    window_caption = nullptr;
    area_width = 800;
    area_height = 450;
    fullscreen = 0;
    audio_enabled = 1;
    demo_length = 150.0f;
    halign = 1;
    valign = 1;
    multisample = 0;
    glext = 1;
    debug_console = 0;
    debug_timeline = 0;
}

// A viewport of extreme aspect would leave a side of no pixels (a
// zero-sized viewport and a division by zero later); every side keeps one.
void area_compute(float viewport_width, float viewport_height) {
    double t = static_cast<double>(window_width) / viewport_width * viewport_height;
    if (t < window_height) {
        area_width = window_width;
        area_height = std::max(1, static_cast<std::int32_t>(t));
    } else {
        area_height = window_height;
        area_width = std::max(1, static_cast<std::int32_t>(static_cast<double>(window_height) / viewport_height * viewport_width));
    }
}

int config_load(const char* path) {
    if (xml_load(path) != 0) {
        show_load_errors();
        return -1;
    }
    window_width = read_int("config>window>width", 320, 320, 3200);
    window_height = read_int("config>window>height", 240, 240, 2400);
    window_caption = xml_value("config>window>caption");
    color_depth = read_int("config>window>depth", 1, 1, 128);
    float viewport_width = read_float("config>viewport>width", 0.0625f, 0.0625f, 65536.0f);
    float viewport_height = read_float("config>viewport>height", 0.0625f, 0.0625f, 65536.0f);
    area_compute(viewport_width, viewport_height);
    fullscreen = read_int("config>window>fullscreen", 0, 0, 1);
    audio_enabled = read_int("config>audio>enabled", 0, 0, 1);
    demo_length = read_float("config>audio>length", 0.0f, 0.0f, 900.0f);
    halign = read_int("config<0>window>halign", 0, 0, 2);
    valign = read_int("config<0>window>valign", 0, 0, 2);
    multisample = read_int("config>window>multisample", 0, 0, 1);
    glext = read_int("config>window>glext", 0, 0, 1);
    if (xml_exists("config>debug")) {
        debug_console = read_int("config>debug>console", 0, 0, 1);
        debug_timeline = read_int("config>debug>timeline", 0, 0, 1);
    }
    if (xml_errors.count > 0) {
        error_box("fatal in xml\nerror: %s ", xml_error_pop());
        return -2;
    }
    xml_reset();
    return 0;
}
