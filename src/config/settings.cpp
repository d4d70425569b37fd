#include "config/settings.h"

#include <algorithm>
#include <cstdlib>

#include "log/log.h"
#include "config/xml.h"
#include "config/xml_path.h"

Settings settings;

namespace {

// Like atoi, but numbers beyond 32 bits saturate instead of overflowing.
long long read_number(const char* path, std::int32_t fallback) {
    const char* text = xml_value(path);
    return text ? std::strtoll(text, nullptr, 10) : fallback;
}

std::int32_t clamp_int(long long value, std::int32_t low, std::int32_t high) {
    if (value < low) return low;
    if (value > high) return high;
    return static_cast<std::int32_t>(value);
}

std::int32_t read_int(const char* path, std::int32_t fallback, std::int32_t low, std::int32_t high) {
    return clamp_int(read_number(path, fallback), low, high);
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

void settings_defaults() { settings = Settings{}; }

// A viewport of extreme aspect would leave a side of no pixels (a
// zero-sized viewport and a division by zero later); every side keeps one.
void area_compute(float viewport_width, float viewport_height) {
    double t = static_cast<double>(settings.window_width) / viewport_width * viewport_height;
    if (t < settings.window_height) {
        settings.area_width = settings.window_width;
        settings.area_height = std::max(1, static_cast<std::int32_t>(t));
    } else {
        settings.area_height = settings.window_height;
        double width = static_cast<double>(settings.window_height) / viewport_height * viewport_width;
        settings.area_width = std::max(1, static_cast<std::int32_t>(width));
    }
}

ConfigResult config_load(const char* path) {
    if (xml_load(path) != xml_ok) {
        show_load_errors();
        return config_unreadable;
    }
    settings.asked_width = read_number("config>window>width", window_min_width);
    settings.asked_height = read_number("config>window>height", window_min_height);
    settings.window_width = clamp_int(settings.asked_width, window_min_width, window_max_width);
    settings.window_height = clamp_int(settings.asked_height, window_min_height, window_max_height);
    settings.window_caption = xml_value("config>window>caption");
    settings.color_depth = read_int("config>window>depth", 1, 1, 128);
    float viewport_width = read_float("config>viewport>width", 0.0625f, 0.0625f, 65536.0f);
    float viewport_height = read_float("config>viewport>height", 0.0625f, 0.0625f, 65536.0f);
    area_compute(viewport_width, viewport_height);
    settings.fullscreen = read_int("config>window>fullscreen", 0, 0, 1);
    settings.audio_enabled = read_int("config>audio>enabled", 0, 0, 1);
    settings.demo_length = read_float("config>audio>length", 0.0f, 0.0f, 900.0f);
    settings.halign = read_int("config<0>window>halign", 0, 0, 2);
    settings.valign = read_int("config<0>window>valign", 0, 0, 2);
    settings.multisample = read_int("config>window>multisample", 0, 0, 1);
    settings.glext = read_int("config>window>glext", 0, 0, 1);
    if (xml_exists("config>debug")) {
        settings.debug_console = read_int("config>debug>console", 0, 0, 1);
        settings.debug_timeline = read_int("config>debug>timeline", 0, 0, 1);
    }
    if (xml_errors.count > 0) {
        error_box("fatal in xml\nerror: %s ", xml_error_pop());
        return config_key_missing;
    }
    xml_reset();
    return config_ok;
}
