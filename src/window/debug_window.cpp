#include "window/debug_window.h"

#include <cmath>

#include "log/log.h"
#include "clock/clock.h"
#include "clock/schedule.h"
#include "config/settings.h"
#include "image/window_icons.h"
#include "window/window.h"

namespace {

constexpr std::uint32_t playhead_color = 0x00FF00;

void draw_bands(TimelinePicture& picture, float time, double length) {
    for (int c = 0; c < timeline_width; ++c) {
        int v = time > 0 ? static_cast<int>(c * length / timeline_width * beats_per_second * 0.0625) : 0;
        std::uint32_t blue = static_cast<std::uint32_t>((v % 4 + 4) * 32);
        for (int r = 0; r < timeline_height; ++r) picture.bitmap[r * timeline_width + c] = blue;
    }
}

// Bars are clipped to the bitmap, so a short demo cannot push them into the
// rows above.
void draw_bar(TimelinePicture& picture, const TimelineBar& bar, double beats) {
    double x0 = std::trunc(timeline_width * bar.start / beats);
    double w = std::trunc((bar.end - bar.start) * timeline_width / beats);
    if (w <= 0) return;
    int y0 = static_cast<int>(timeline_height * bar.lane * 0.125);
    double first = x0 < 0 ? 0 : x0;
    double last = x0 + w > timeline_width ? timeline_width : x0 + w;
    for (int r = y0; r < y0 + 8; ++r)
        for (int c = static_cast<int>(first); c < static_cast<int>(last); ++c)
            picture.bitmap[r * timeline_width + c] = bar.color;
}

void draw_playhead(TimelinePicture& picture, float time, double length) {
    int p = timeline_column(time, length);
    if (p < 0) return;
    for (int r = 0; r < timeline_height; ++r) picture.bitmap[r * timeline_width + p] = playhead_color;
}

int opposite_side(int alignment, int screen, int size) { return window_position(alignment == 0 ? 2 : 0, screen, size); }

}  // namespace

int timeline_column(float time, double length) {
    double position = std::trunc(timeline_width / length * time);
    if (!std::isfinite(position)) return -1;
    int p = static_cast<int>(std::fmod(position, timeline_width));
    return p < 0 ? p + timeline_width : p;  // keep the column inside the bitmap
}

WindowResult debug_window_create() {
    platform::Size screen = platform::screen_size();
    int x = opposite_side(settings.halign, screen.width, timeline_width);
    int y = opposite_side(settings.valign, screen.height, timeline_height);
    platform::WindowRequest request{window_class_name, "debug window", platform::WindowStyle::sysmenu, x, y,
                              timeline_width, timeline_height};
    platform::Handle window = window_state.debug_window = platform::create_window(request);
    if (!window) {
        log_print("error");
        return window_no_window;
    }
    platform::show_window_normal(window);
    platform::Size client = platform::client_size(window);
    platform::move_window(window, x, y, 2 * timeline_width - client.width, 2 * timeline_height - client.height);
    if (settings.window_caption) platform::set_window_title(window, settings.window_caption);
    window_icons_set(window);
    return window_ok;
}

void timeline_draw(TimelinePicture& picture, float time, double length) {
    draw_bands(picture, time, length);
    if (length > 0) {
        double beats = length * beats_per_second;
        for (int i = 0; i < schedule_length; ++i) draw_bar(picture, schedule[i].bar, beats);
        draw_playhead(picture, time, length);
    }
    timeline_show(picture);
}

void debug_window_title(const char* text) {
    platform::Handle window = window_state.debug_window;
    if (!window) return;
    // Its own title, as debug_window_create leaves it.
    if (!text) text = settings.window_caption ? settings.window_caption : "debug window";
    platform::set_window_title(window, text);
}

void timeline_show(const TimelinePicture& picture) {
    platform::Handle window = window_state.debug_window;
    if (!window) return;
    platform::Handle dc = platform::get_dc(window);
    platform::blit_bitmap(dc, picture.bitmap, timeline_width, timeline_height);
    platform::release_dc(window, dc);
}
