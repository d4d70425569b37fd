// The audio library's interface: the calls the soundtrack and the stream
// clock make. Handles are 32-bit, byte positions 64-bit (of the 16-bit
// interleaved output), times 32-bit floats. Calls come from one thread.
#pragma once

#include <cstdint>

#include "platform/platform.h"

using HSTREAM = std::uint32_t;
using QWORD = std::uint64_t;

constexpr std::uint32_t BASS_STREAM_PRESCAN = 0x20000;

// Codes BASS_ErrorGetCode reports for the last call.
enum : int {
    BASS_OK = 0,
    BASS_ERROR_MEM = 1,       // out of memory
    BASS_ERROR_DRIVER = 3,    // no usable output device
    BASS_ERROR_HANDLE = 5,    // not a live stream
    BASS_ERROR_FORMAT = 6,    // not an Ogg Vorbis stream we can play
    BASS_ERROR_INIT = 8,      // BASS_Init has not succeeded
    BASS_ERROR_ALREADY = 14,  // BASS_Init twice
    BASS_ERROR_ILLPARAM = 20,
    BASS_ERROR_DEVICE = 23,   // no such device number
    BASS_ERROR_NOCHAN = 18,   // every stream slot in use
};

// Library version: major in the top byte, then minor, then two more bytes.
std::uint32_t BASS_GetVersion();
// device -1: the default output, 0: no sound (a paced null device).
int BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, platform::Handle window, const void* clsid);
int BASS_ErrorGetCode();
// Only memory streams: `mem` must be true. 0 on failure.
HSTREAM BASS_StreamCreateFile(int mem, const void* file, QWORD offset, QWORD length, std::uint32_t flags);
QWORD BASS_ChannelGetLength(std::uint32_t handle);
float BASS_ChannelBytes2Seconds(std::uint32_t handle, QWORD pos);
QWORD BASS_ChannelSeconds2Bytes(std::uint32_t handle, float pos);
// What is audible now; equal to the length once playback has reached the end.
QWORD BASS_ChannelGetPosition(std::uint32_t handle);
int BASS_ChannelSetPosition(std::uint32_t handle, QWORD pos);
int BASS_ChannelPlay(std::uint32_t handle, int restart);
int BASS_ChannelStop(std::uint32_t handle);
int BASS_StreamFree(HSTREAM handle);
