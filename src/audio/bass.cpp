#include "audio/bass.h"

#include <cmath>
#include <cstdlib>
#include <new>

#include "audio/library.h"
#include "audio/output_device.h"
#include "audio/playback.h"
#include "audio/vorbis_stream.h"

namespace {

// Reported as 2.3: the interface the soundtrack code was written against.
constexpr std::uint32_t library_version = 0x02030000;

struct StreamInfo {
    HSTREAM handle = 0;
    int channels = 0;
    std::uint32_t rate = 0;
    std::int64_t length = 0;
};

int last_error = BASS_OK;
bool initialised = false;
bool exit_hook = false;
std::uint32_t generation = 0;
StreamInfo streams[audio::max_streams];

int fail(int code) {
    last_error = code;
    return 0;
}

int succeed() {
    last_error = BASS_OK;
    return 1;
}

// The stream behind a handle, or null (with the handle error) when it is
// not a live stream.
const StreamInfo* find(std::uint32_t handle) {
    int slot = static_cast<int>(handle & 0xff) - 1;
    if (slot < 0 || slot >= audio::max_streams || streams[slot].handle != handle || handle == 0) {
        last_error = BASS_ERROR_HANDLE;
        return nullptr;
    }
    return &streams[slot];
}

int slot_of(const StreamInfo* info) { return static_cast<int>(info - streams); }

QWORD frame_bytes(const StreamInfo* info) { return 2u * static_cast<QWORD>(info->channels); }

}  // namespace

void audio_library_close() {
    audio::playback_close();
    for (StreamInfo& s : streams) s = StreamInfo{};
    initialised = false;
}

std::uint32_t BASS_GetVersion() { return library_version; }

int BASS_Init(int device, std::uint32_t freq, std::uint32_t, platform::Handle, const void*) {
    if (initialised) return fail(BASS_ERROR_ALREADY);
    const audio::OutputDevice* output = device == -1  ? audio::default_output_device()
                                        : device == 0 ? audio::null_output_device()
                                                      : nullptr;
    if (device != -1 && device != 0) return fail(BASS_ERROR_DEVICE);
    if (!output || !audio::playback_start(output, freq ? static_cast<int>(freq) : 44100)) return fail(BASS_ERROR_DRIVER);
    initialised = true;
    if (!exit_hook) exit_hook = std::atexit(audio_library_close) == 0;
    return succeed();
}

int BASS_ErrorGetCode() { return last_error; }

HSTREAM BASS_StreamCreateFile(int mem, const void* file, QWORD offset, QWORD length, std::uint32_t) {
    if (!initialised) return fail(BASS_ERROR_INIT);
    if (!mem) return fail(BASS_ERROR_ILLPARAM);  // only memory streams
    if (!file || length == 0) return fail(BASS_ERROR_FORMAT);
    auto* stream = new (std::nothrow) audio::VorbisStream;
    if (!stream) return fail(BASS_ERROR_MEM);
    const auto* bytes = static_cast<const std::uint8_t*>(file) + offset;
    if (!stream->open(bytes, static_cast<std::size_t>(length))) {
        delete stream;
        return fail(BASS_ERROR_FORMAT);
    }
    StreamInfo info{0, stream->channels(), stream->rate(), stream->length()};
    int slot = audio::playback_add(stream);
    if (slot < 0) {
        delete stream;
        return fail(BASS_ERROR_NOCHAN);
    }
    generation = (generation + 1) & 0xffffff;
    info.handle = generation << 8 | static_cast<std::uint32_t>(slot + 1);
    streams[slot] = info;
    succeed();
    return info.handle;
}

QWORD BASS_ChannelGetLength(std::uint32_t handle) {
    const StreamInfo* info = find(handle);
    if (!info) return static_cast<QWORD>(-1);
    succeed();
    return static_cast<QWORD>(info->length) * frame_bytes(info);
}

float BASS_ChannelBytes2Seconds(std::uint32_t handle, QWORD pos) {
    const StreamInfo* info = find(handle);
    if (!info) return -1.0f;
    succeed();
    return static_cast<float>(static_cast<double>(pos / frame_bytes(info)) / info->rate);
}

// To the nearest frame: a time that came from a byte position maps back to
// that same position.
QWORD BASS_ChannelSeconds2Bytes(std::uint32_t handle, float pos) {
    const StreamInfo* info = find(handle);
    if (!info) return static_cast<QWORD>(-1);
    succeed();
    double frames = std::floor(static_cast<double>(pos) * info->rate + 0.5);
    return frames <= 0 ? 0 : static_cast<QWORD>(frames) * frame_bytes(info);
}

QWORD BASS_ChannelGetPosition(std::uint32_t handle) {
    const StreamInfo* info = find(handle);
    if (!info) return static_cast<QWORD>(-1);
    succeed();
    return static_cast<QWORD>(audio::playback_position(slot_of(info))) * frame_bytes(info);
}

int BASS_ChannelSetPosition(std::uint32_t handle, QWORD pos) {
    const StreamInfo* info = find(handle);
    if (!info) return 0;
    QWORD frame = pos / frame_bytes(info);
    if (frame > static_cast<QWORD>(info->length)) return fail(BASS_ERROR_ILLPARAM);
    audio::playback_seek(slot_of(info), static_cast<std::int64_t>(frame));
    return succeed();
}

int BASS_ChannelPlay(std::uint32_t handle, int restart) {
    const StreamInfo* info = find(handle);
    if (!info) return 0;
    if (restart) audio::playback_seek(slot_of(info), 0);
    audio::playback_play(slot_of(info));
    return succeed();
}

int BASS_ChannelStop(std::uint32_t handle) {
    const StreamInfo* info = find(handle);
    if (!info) return 0;
    audio::playback_stop(slot_of(info));
    return succeed();
}

int BASS_StreamFree(HSTREAM handle) {
    const StreamInfo* info = find(handle);
    if (!info) return 0;
    int slot = slot_of(info);
    audio::playback_remove(slot);
    streams[slot] = StreamInfo{};
    return succeed();
}
