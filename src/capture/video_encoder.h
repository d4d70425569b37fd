// The video file: frames piped to ffmpeg, which muxes them with the
// soundtrack stretch. The container follows the file's extension:
//   .mp4  H.264 (yuv420p, BT.709, tagged) + AAC, for players and the web
//   .mkv  lossless H.264 (RGB) + FLAC, for editing and exact comparison
// The file is written under a temporary name and appears under its own only
// when the encoder has finished without error.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "capture/encoder_process.h"

// The program that encodes.
constexpr const char* encoder_program = "ffmpeg";

// True when the extension names a container we write.
bool video_container_known(const std::string& path);

// The encoder's command line for frames piped in, and for the lossless
// segments a concat list names, joined into `path`'s container.
std::vector<std::string> video_encoder_args(const std::string& path, const std::string& part, int width, int height,
                                            int fps, const std::string& wav);
std::vector<std::string> video_join_args(const std::string& path, const std::string& part, const std::string& list);

class VideoEncoder {
public:
    // An encoder for the video `path`, written under its temporary name.
    explicit VideoEncoder(const std::string& path);
    // Starts the encoder with the WAV file as the sound. False, with a
    // message, when it cannot start.
    bool open(int width, int height, int fps, const std::string& wav);
    // Starts the encoder joining the segments an ffmpeg concat list names;
    // nothing is written to it.
    bool open_join(const std::string& list);
    // One frame of RGB rows, top to bottom. False, with a message, when the
    // encoder has stopped taking frames.
    bool write_frame(const std::vector<std::uint8_t>& rgb);
    // Ends the input and waits for the encoder: its exit code.
    int finish_encoding();
    // After finish_encoding: gives the file its name when the encoder
    // succeeded (`code` 0). False, with a message, otherwise; no file is
    // left then.
    bool commit(int code);
    // Ends the input, waits and removes what was written.
    void abandon();

private:
    bool stopped(const char* what);
    void report_errors() const;
    void discard();

    EncoderProcess process_;
    std::string path_, part_, errors_;
};
