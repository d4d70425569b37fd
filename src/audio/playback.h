// The library's thread: decodes the playing streams, mixes them into 16-bit
// stereo and keeps the output device fed. The main thread only posts
// commands and reads positions, under a lock held for a few words.
#pragma once

#include <cstdint>

#include "audio/output_device.h"

namespace audio {

class VorbisStream;

constexpr int max_streams = 8;

// Opens the device and starts the thread; false when the device cannot open.
bool playback_start(const OutputDevice* device, int rate);
bool playback_running();
// Stops the thread, closes the device and frees every stream.
void playback_close();
// Times the thread has gone round its loop (tests wait on it).
std::uint32_t playback_rounds();

// Takes ownership of an open stream; returns its slot, -1 when all are used.
int playback_add(VorbisStream* stream);
void playback_remove(int slot);

void playback_play(int slot);
void playback_stop(int slot);
void playback_seek(int slot, std::int64_t frame);
// The frame being heard now.
std::int64_t playback_position(int slot);

}  // namespace audio
