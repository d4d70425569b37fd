// A scripted platform backend for tests: every seam call is recorded as text,
// results come from scripts (or defaults that describe a working machine).
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake {

struct State {
    std::vector<std::string> calls;   // "verb(args)" in call order
    std::vector<std::string> boxes;   // texts of message boxes
    std::vector<std::string> captions;
    std::string console;              // everything written to the console
    bool console_allocated = false;
    long clock_ms = 0;
    // Messages peek_message hands out; an empty optional is one poll that
    // finds the queue empty. Once this runs dry the fake posts WM_QUIT after
    // `idle_polls_left` empty polls, so a forgotten quit cannot hang a test.
    std::deque<std::optional<platform::Message>> queue;
    int idle_polls_left = 1000;
    bool shift = false;  // what shift_held answers
    bool ran_dry = false;
    platform::Size client{784, 561};
    // What the fake driver says it offers, and entry points it lacks
    // (gl_proc_address returns null for them).
    platform::GlOffer offer{"2.1 fake", "GL_ARB_imaging GL_ARB_multitexture GL_ARB_shader_objects",
                            "WGL_ARB_pixel_format WGL_ARB_pbuffer WGL_ARB_render_texture"};
    std::vector<std::string> missing_entry_points;
    // What the fake wglChoosePixelFormatARB reports: result, format, count.
    int choose_format_result = 1, choose_format = 9, choose_format_count = 1;
    // Size the fake driver grants to pbuffers (0 = as requested).
    int pbuffer_granted_width = 0, pbuffer_granted_height = 0;
    platform::Size screen{1280, 1024};
    std::string display_problem;
    // The colour bits of every icon created, in order.
    std::vector<std::vector<std::uint32_t>> icon_colours;
    // Called at every buffer swap, for a look at the program between frames.
    std::function<void()> on_swap;
};

extern State state;

// Clears everything and restores the default results.
void reset();

// The next call(s) of `verb` return these results instead of the default.
void script(const std::string& verb, std::vector<long long> results);

// Number of recorded calls whose text starts with `prefix`.
int count(const std::string& prefix);

// Index of the first recorded call starting with `prefix`, or -1.
int find(const std::string& prefix, int from = 0);

}  // namespace fake
