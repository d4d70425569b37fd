#include "capture/encoder_process.h"

#include <cerrno>
#include <cstring>

#include "capture/file_out.h"

// What a backend that starts no other program (win32) makes of a video.
const char* const encoder_process_unsupported =
    "this Windows build cannot pipe frames to an encoder: capture videos with the Linux build (--still works here)";

bool encoder_process_supported() { return platform::child_processes_supported(); }

bool encoder_process_start(const std::vector<std::string>& args, const std::string& error_file,
                           EncoderProcess* process) {
    if (!encoder_process_supported()) {
        capture_message("heden: %s\n", encoder_process_unsupported);
        return false;
    }
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int error = 0;
    platform::ChildStart result = platform::child_start(argv.data(), error_file.c_str(), process, &error);
    if (result == platform::ChildStart::no_pipe)
        capture_message("heden: cannot make a pipe for %s: %s\n", args[0].c_str(), std::strerror(error));
    else if (result == platform::ChildStart::not_started && error == ENOENT)
        capture_message("heden: `%s` was not found on the PATH; it encodes the video (Debian: apt install ffmpeg)\n",
                        args[0].c_str());
    else if (result == platform::ChildStart::not_started)
        capture_message("heden: cannot start `%s`: %s\n", args[0].c_str(), std::strerror(error));
    return result == platform::ChildStart::started;
}

bool encoder_process_write(EncoderProcess* process, const void* data, std::size_t size) {
    return platform::child_write(process, data, size);
}

int encoder_process_finish(EncoderProcess* process) { return platform::child_finish(process); }
