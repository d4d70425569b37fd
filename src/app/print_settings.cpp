#include "app/demo_main.h"
#include "log/log.h"
#include "config/settings.h"

void print_settings() {
    log_print("window : %i x %i : %ib \n", window_width, window_height, color_depth);
    log_print("area : %i x %i \n", area_width, area_height);
    log_print(" ALIGNment:%i,%i \n", halign, valign);
    log_print(" multisamp:%i wgl:%i \n", multisample, glext);
    log_print("audio :: enabled:%i \n ", audio_enabled);
}
