#include "capture/encoder_process.h"

#include "capture/file_out.h"

const char* const encoder_process_unsupported =
    "this Windows build cannot pipe frames to an encoder: capture videos with the Linux build (--still works here)";

// The Windows build does not start or feed other programs: video capture is
// a feature of the Linux build. Stills work on both.
bool encoder_process_supported() { return false; }

bool encoder_process_start(const std::vector<std::string>&, EncoderProcess*) {
    capture_message("heden: %s\n", encoder_process_unsupported);
    return false;
}

bool encoder_process_write(EncoderProcess*, const void*, std::size_t) { return false; }

int encoder_process_finish(EncoderProcess*) { return -1; }
