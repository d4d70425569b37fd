#include "app/demo_main.h"
#include "log/log.h"
#include "config/settings.h"

void print_settings() {
    log_print("window : %i x %i : %ib \n", settings.window_width, settings.window_height, settings.color_depth);
    log_print("area : %i x %i \n", settings.area_width, settings.area_height);
    log_print(" ALIGNment:%i,%i \n", settings.halign, settings.valign);
    log_print(" multisamp:%i wgl:%i \n", settings.multisample, settings.glext);
    log_print("audio :: enabled:%i \n ", settings.audio_enabled);
}
