// The demo's schedule in beats: which script owns which stretch of the
// music, where the timeline draws its bar for it and where the image flash
// shows. The dispatch, the image flash and the timeline all read this one
// table. The timeline's bars are the musician's sketch and differ from the
// scripts at three boundaries: the title's bar ends at 22 (its script runs
// to 48), the tunnel's begins at 104 (it flies from 96, the bar before runs
// on to 104) and the poles' ends at 192 (they run to 224).
#pragma once

#include <cstdint>

enum class Script {
    title,             // argument: the beat
    canyon_or_basket,  // turns every 4 beats, argument the beat
    quick_turns,       // canyon or basket turning every 2 beats, argument twice the beat
    canyon_strobe,     // the canyon at four times the beat
    tunnel,            // argument: beats since the stretch began
    poles,             // likewise
    basket,            // argument: the beat
    tunnel_back,       // beats since the stretch began
    canyon_top,        // beats since the stretch began
    closing,           // no script: the camera turns while the glow fades
    after_music,       // the music has ended
};

// A bar on the timeline: beats, lane (row of eight pixels) and colour.
struct TimelineBar {
    double start, end;
    int lane;
    std::uint32_t color;
};

struct Stretch {
    Script script;
    double start;  // the first beat the script owns; it owns up to the next stretch's start
    TimelineBar bar;  // end == start: no bar of its own
    bool image_flash;
};

constexpr TimelineBar no_bar = {0, 0, 0, 0};

// In order of their start; the last one runs for ever.
inline constexpr Stretch schedule[] = {
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
constexpr int schedule_length = sizeof schedule / sizeof schedule[0];

// The stretch that owns a beat; beats before 0 (and NaN) belong to the first.
const Stretch& stretch_at(double beat);
// Where a stretch ends: the next one's start (infinity for the last).
double stretch_end(const Stretch& stretch);
// The first beat of a script's stretch.
double script_start(Script script);
