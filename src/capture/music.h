// The soundtrack as the capture uses it: its exact length, and a stretch of
// it decoded by our own decoder into a WAV file for the encoder.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "audio/vorbis_stream.h"

class CaptureMusic {
public:
    // Opens the bytes the program loaded (archive or pool); they must
    // outlive this object. False when they hold no playable Vorbis stream.
    bool open(const void* data, std::uint32_t size);

    std::uint32_t rate() const { return stream_.rate(); }
    int channels() const { return stream_.channels(); }
    // Seconds, as the stream clock reports the end of the track.
    double length_seconds() const;

    // Writes 16-bit PCM frames [first, first + count) to `path` as WAV;
    // frames past the end of the music are silence. False, with a
    // message, when the file cannot be written.
    bool write_wav(const std::string& path, std::int64_t first, std::int64_t count);

private:
    audio::VorbisStream stream_;
};
