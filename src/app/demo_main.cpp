#include "app/demo_main.h"

#include "log/log.h"
#include "clock/clock.h"
#include "clock/soundtrack.h"
#include "config/settings.h"
#include "data/file_table.h"
#include "demo/frame_schedule.h"
#include "demo/precalc.h"
#include "platform/platform.h"
#include "window/debug_window.h"
#include "window/window.h"

namespace {

void open_console() {
    platform::console_allocate();
    if (window_caption) platform::console_set_title(window_caption);
    print_settings();
}

void render_frame() {
    ClockOps.clock_tick();
    frame_render();
    platform::swap_buffers(main_dc);
    if (debug_timeline) timeline_show();
}

void shut_down() {
    window_destroy();
    ClockOps.clock_stop();
    ClockOps.clock_free();
    blob_close();
}

}  // namespace

void main_loop() {
    platform::Message msg;
    for (;;) {
        if (!platform::peek_message(&msg)) {
            render_frame();
            continue;
        }
        if (msg.message == platform::msg_quit) return;
        platform::translate_message(msg);
        platform::dispatch_message(msg);
    }
}

int demo_main() {
    config_load("config.xml");
    if (debug_console) open_console();
    blob_open();
    if (window_setup(1) != 0) {
        log_print("fatal errors.. exit app now \n");
        error_box("su tentativa de programa ninja cojo es una falta completa!");
        blob_close();
        return 0;
    }
    precalc();
    if (soundtrack_init("pool/quorvane_28_juli.ogg", main_window) != 0) log_print("bass bork?\n");
    ClockOps.clock_start(0.0f);
    main_loop();
    shut_down();
    return 0;
}
