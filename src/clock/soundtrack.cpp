#include "clock/soundtrack.h"

#include "app/log.h"
#include "clock/clock.h"
#include "config/settings.h"
#include "data/file_table.h"

int soundtrack_init(const char* path, platform::Handle window) {
    clock_install_system();
    // Loaded even when silent, so the music keeps its place in the archive.
    FileData music{nullptr, 0};
    load_file(path, &music);
    if (audio_enabled == 0) {
        log_print("silence?\n");
        return 0;
    }
    log_print("no audio library in this build: the demo runs silent \n");
    return -2;
}
