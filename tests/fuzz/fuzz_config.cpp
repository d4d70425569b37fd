// Whole config.xml files of arbitrary bytes through the XML reader and the
// settings read on top of it: every setting in its range, the caption a
// string of the pool, the drawing area inside the window.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "config/settings.h"
#include "config/xml.h"
#include "scratch_dir.h"

namespace {

void check_range(std::int32_t value, std::int32_t low, std::int32_t high) {
    if (value < low || value > high) std::abort();
}

void check_settings() {
    check_range(settings.window_width, 320, 3200);
    check_range(settings.window_height, 240, 2400);
    check_range(settings.color_depth, 1, 128);
    check_range(settings.area_width, 1, settings.window_width);
    check_range(settings.area_height, 1, settings.window_height);
    for (std::int32_t flag : {settings.fullscreen, settings.audio_enabled, settings.multisample, settings.glext,
                              settings.debug_console, settings.debug_timeline})
        check_range(flag, 0, 1);
    check_range(settings.halign, 0, 2);
    check_range(settings.valign, 0, 2);
    if (!(settings.demo_length >= 0.0f && settings.demo_length <= 900.0f)) std::abort();
    if (const char* caption = settings.window_caption) {
        const char* pool = xml_document.pool;
        if (caption < pool || caption >= pool + xml_pool_bytes) std::abort();
        if (!std::memchr(caption, 0, static_cast<std::size_t>(pool + xml_pool_bytes - caption))) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = scratch_dir() + "/config.xml";
    write_whole(path, data, size);
    xml_reset();
    while (xml_error_pop()) {
    }
    settings_defaults();
    // A missing key leaves its fallback in force: the settings are read either way.
    if (config_load(path.c_str()) != -1) check_settings();
    if (xml_document.node_count < 0 || xml_document.node_count > xml_max_nodes) std::abort();
    if (xml_document.pool_length < 0 || xml_document.pool_length > xml_pool_bytes) std::abort();
    if (xml_errors.count < 0 || xml_errors.count > xml_max_errors) std::abort();
    return 0;
}
