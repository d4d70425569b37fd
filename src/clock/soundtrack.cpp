#include "clock/soundtrack.h"

#include "log/log.h"
#include "audio/bass.h"
#include "audio/vorbis_stream.h"
#include "clock/clock.h"
#include "config/settings.h"
#include "data/file_table.h"

namespace {

// The music's bytes as loaded, for its length; they live until blob_close.
FileData music{nullptr, 0};

void log_version() {
    std::uint32_t v = BASS_GetVersion();
    log_print("BASS.DLL == %i.%i.%i.%i \n", static_cast<int>(v >> 24), static_cast<int>(v >> 16 & 255),
              static_cast<int>(v >> 8 & 255), static_cast<int>(v & 255));
    if (BASS_GetVersion() >> 16 != 0x0203)
        log_print("wrong BASSMOD dll?\n version conflict %x %x", BASS_GetVersion(), 0x302u);
}

}  // namespace

SoundtrackResult soundtrack_init(DemoClock& clock, const char* path, platform::Handle window) {
    clock_install_system(clock);
    // Loaded even when silent, so the music keeps its place in the archive.
    load_file(path, &music);
    if (settings.audio_enabled == 0) {
        log_print("silence?\n");
        return soundtrack_ok;
    }
    log_version();
    if (!BASS_Init(-1, 44100, 0, window, nullptr)) {
        error_box("Bass_Init(-1) oops? %i", BASS_ErrorGetCode());
        return soundtrack_no_output;
    }
    clock.stream_handle = BASS_StreamCreateFile(1, music.data, 0, static_cast<QWORD>(music.size), BASS_STREAM_PRESCAN);
    // Without a stream there is nothing to follow: the system clock stays
    // in charge and the configured length stands.
    if (clock.stream_handle == 0) {
        log_print("no music stream from `%s` (error %i): running on the system clock \n", path, BASS_ErrorGetCode());
        return soundtrack_no_stream;
    }
    clock_install_stream(clock);
    return soundtrack_ok;
}

double soundtrack_length() {
    audio::VorbisStream stream;
    if (!music.data || music.size <= 0 || !stream.open(music.data, static_cast<std::size_t>(music.size))) return 0.0;
    return static_cast<double>(stream.length()) / stream.rate();
}
