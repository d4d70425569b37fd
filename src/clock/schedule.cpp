#include "clock/schedule.h"

#include <limits>

namespace {

constexpr TimelineBar no_bar = {0, 0, 0, 0};

}  // namespace

const Stretch schedule[] = {
    {Script::title, 0, {0, 22, 0, 0x7F0000}, false},
    {Script::canyon_or_basket, 48, {48, 80, 1, 0xFF0000}, false},
    {Script::quick_turns, 80, {80, 104, 2, 0x00FF00}, false},
    {Script::canyon_strobe, 88, no_bar, false},
    {Script::tunnel, 96, {104, 160, 1, 0xFFDD00}, false},
    {Script::poles, 160, {160, 192, 0, 0xFF0000}, true},
    {Script::basket, 224, {224, 256, 1, 0x00FF00}, false},
    {Script::tunnel_back, 256, {256, 320, 2, 0x00FF00}, false},
    {Script::canyon_top, 320, {320, 336, 0, 0xFF0000}, false},
    {Script::closing, 336, no_bar, false},
    {Script::after_music, 356, no_bar, true},
};
const int schedule_length = sizeof schedule / sizeof schedule[0];

const Stretch& stretch_at(double beat) {
    int i = 0;
    while (i + 1 < schedule_length && beat >= schedule[i + 1].start) ++i;
    return schedule[i];
}

double stretch_end(const Stretch& stretch) {
    int next = static_cast<int>(&stretch - schedule) + 1;
    return next < schedule_length ? schedule[next].start : std::numeric_limits<double>::infinity();
}

double script_start(Script script) {
    for (const Stretch& stretch : schedule)
        if (stretch.script == script) return stretch.start;
    return 0;
}
