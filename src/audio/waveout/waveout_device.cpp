// The Windows program's default output: winmm's waveOut on the wave mapper,
// 16-bit stereo. The frames go out in a ring of blocks; a block is handed
// to the device when it is full and comes back (WHDR_DONE) once played.
// Every call but wait() comes in under the library's lock.
#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "audio/output_device.h"

namespace {

constexpr int block_frames = 1024;
constexpr int block_count = 8;  // about 190 ms queued at 44.1 kHz

struct Block {
    WAVEHDR header{};
    std::int16_t frames[2 * block_frames];
};

HWAVEOUT wave = nullptr;
Block blocks[block_count];
int filling = 0;        // the block being filled
int filled = 0;         // frames in it
DWORD written = 0;      // frames handed over or being filled since the last reset
DWORD position_base = 0;  // the device's position at the last reset

WAVEFORMATEX format_at(int rate) {
    WAVEFORMATEX f{};
    f.wFormatTag = WAVE_FORMAT_PCM;
    f.nChannels = 2;
    f.nSamplesPerSec = static_cast<DWORD>(rate);
    f.wBitsPerSample = 16;
    f.nBlockAlign = 4;
    f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
    return f;
}

bool open_at(int rate) {
    WAVEFORMATEX f = format_at(rate);
    return waveOutOpen(&wave, WAVE_MAPPER, &f, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR;
}

// The wave mapper converts almost any rate; a device without it is tried at
// the usual rates, nearest to the asked one first.
int open_nearest(int rate) {
    if (open_at(rate)) return rate;
    static const int usual[] = {44100, 48000, 32000, 22050, 96000, 88200, 16000, 11025, 8000};
    bool tried[sizeof usual / sizeof usual[0]] = {};
    for (int round = 0; round < static_cast<int>(sizeof usual / sizeof usual[0]); ++round) {
        int best = -1;
        for (int i = 0; i < static_cast<int>(sizeof usual / sizeof usual[0]); ++i) {
            if (tried[i] || usual[i] == rate) continue;
            int distance = usual[i] > rate ? usual[i] - rate : rate - usual[i];
            int best_distance = best < 0 ? 0 : usual[best] > rate ? usual[best] - rate : rate - usual[best];
            if (best < 0 || distance < best_distance) best = i;
        }
        if (best < 0) break;
        tried[best] = true;
        if (open_at(usual[best])) return usual[best];
    }
    wave = nullptr;
    return 0;
}

bool block_free(const Block& b) { return !(b.header.dwFlags & WHDR_PREPARED) || (b.header.dwFlags & WHDR_DONE); }

// Frames the device has played since it was opened (wraps like its counter).
DWORD device_position() {
    MMTIME t{};
    t.wType = TIME_SAMPLES;
    if (waveOutGetPosition(wave, &t, sizeof t) != MMSYSERR_NOERROR) return position_base;
    if (t.wType == TIME_SAMPLES) return t.u.sample;
    if (t.wType == TIME_BYTES) return t.u.cb / 4;
    return position_base;
}

void submit(Block& b) {
    b.header.lpData = reinterpret_cast<LPSTR>(b.frames);
    b.header.dwBufferLength = static_cast<DWORD>(filled) * 4;
    b.header.dwFlags = 0;
    bool prepared = waveOutPrepareHeader(wave, &b.header, sizeof b.header) == MMSYSERR_NOERROR;
    if (!prepared || waveOutWrite(wave, &b.header, sizeof b.header) != MMSYSERR_NOERROR) {
        // A device that refuses the block never plays it: its frames are
        // not counted as queued, and the block is free again.
        if (prepared) waveOutUnprepareHeader(wave, &b.header, sizeof b.header);
        b.header.dwFlags = 0;
        written -= static_cast<DWORD>(filled);
    }
    filling = (filling + 1) % block_count;
    filled = 0;
}

void unprepare_done() {
    for (Block& b : blocks)
        if ((b.header.dwFlags & WHDR_PREPARED) && (b.header.dwFlags & WHDR_DONE))
            waveOutUnprepareHeader(wave, &b.header, sizeof b.header);
}

int waveout_open(int rate) {
    wave = nullptr;
    int actual = open_nearest(rate);
    if (actual == 0) return 0;
    for (Block& b : blocks) b.header = WAVEHDR{};
    filling = filled = 0;
    written = 0;
    position_base = device_position();
    return actual;
}

int waveout_writable() {
    unprepare_done();
    int room = 0;
    for (int i = 0; i < block_count; ++i) {
        const Block& b = blocks[(filling + i) % block_count];
        if (!block_free(b)) break;
        room += block_frames;
    }
    return room > 0 ? room - filled : 0;
}

void waveout_write(const std::int16_t* frames, int count) {
    while (count > 0) {
        Block& b = blocks[filling];
        if (filled == 0 && !block_free(b)) return;  // full: never blocks
        if (b.header.dwFlags & WHDR_PREPARED) waveOutUnprepareHeader(wave, &b.header, sizeof b.header);
        int take = block_frames - filled < count ? block_frames - filled : count;
        std::memcpy(b.frames + 2 * filled, frames, static_cast<std::size_t>(take) * 4);
        filled += take;
        written += static_cast<DWORD>(take);
        frames += 2 * take;
        count -= take;
        if (filled == block_frames) submit(b);
    }
}

// A device that ran dry stops its position at what it was given and goes on
// with the next block written: the difference never goes negative.
int waveout_queued() {
    DWORD played = device_position() - position_base;
    return played >= written ? 0 : static_cast<int>(written - played);
}

// waveOutReset hands every block back and sets the position to 0.
void waveout_drop() {
    waveOutReset(wave);
    unprepare_done();
    filled = 0;
    written = 0;
    position_base = device_position();
}

void waveout_wait() { Sleep(4); }

void waveout_close() {
    if (!wave) return;
    waveOutReset(wave);
    unprepare_done();
    waveOutClose(wave);
    wave = nullptr;
}

const audio::OutputDevice waveout_ops{waveout_open,   waveout_writable, waveout_write, waveout_queued,
                                      waveout_drop,   waveout_wait,     waveout_close};

}  // namespace

const audio::OutputDevice* audio::default_output_device() { return &waveout_ops; }
