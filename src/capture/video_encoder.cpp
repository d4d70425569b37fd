#include "capture/video_encoder.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "capture/file_out.h"

namespace {

std::string extension_of(const std::string& path) {
    std::size_t dot = path.find_last_of('.');
    std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

bool lossless(const std::string& path) { return extension_of(path) == "mkv"; }

// Where the encoder's words go until they are shown: the temporary folder,
// which a full disk under the video does not silence, else beside it.
std::string errors_file(const std::string& path) {
    std::error_code error;
    std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    if (error) return file_part_name(path, ".log");
    return (folder / ("heden-" + std::to_string(platform::process_id()) + "-ffmpeg.log")).string();
}

// ffmpeg quiet but for errors; -xerror: a write that fails (a full disk) is
// said, but ends ffmpeg with 0 unless it is told to stop there.
std::vector<std::string> encoder_head() {
    return {encoder_program, "-hide_banner", "-nostdin", "-nostats", "-loglevel", "error", "-y", "-xerror"};
}

// The container's codecs, for RGB frames piped in or for lossless segments
// joined (whose pictures an .mkv copies as they are).
std::vector<std::string> container_codecs(const std::string& path, bool joined) {
    if (lossless(path)) {
        std::vector<std::string> video = joined ? std::vector<std::string>{"-c:v", "copy"}
                                                : std::vector<std::string>{"-c:v", "libx264rgb", "-preset", "veryfast",
                                                                           "-qp", "0"};
        video.insert(video.end(), {"-c:a", "flac", "-f", "matroska"});
        return video;
    }
    // 4:2:0 needs even sizes: an odd row or column is padded. Players take
    // HD video as BT.709 when it says nothing: convert with its coefficients
    // and say so, at every size. Joined segments are decoded as planar RGB
    // first: taken as rgb24 they convert as the piped frames do.
    std::string filters = "pad=ceil(iw/2)*2:ceil(ih/2)*2,scale=out_color_matrix=bt709:out_range=tv,format=yuv420p";
    return {"-c:v", "libx264", "-preset", "veryfast", "-crf", "18",
            "-vf", joined ? "format=rgb24," + filters : filters,
            "-colorspace", "bt709", "-color_primaries", "bt709", "-color_trc", "bt709", "-color_range", "tv",
            "-c:a", "aac", "-b:a", "192k", "-movflags", "+faststart", "-f", "mp4"};
}

std::vector<std::string> encoder_args(std::vector<std::string> inputs, const std::string& path,
                                      const std::string& part, bool joined) {
    std::vector<std::string> args = encoder_head();
    args.insert(args.end(), inputs.begin(), inputs.end());
    std::vector<std::string> codecs = container_codecs(path, joined);
    args.insert(args.end(), codecs.begin(), codecs.end());
    args.push_back(part);
    return args;
}

}  // namespace

bool video_container_known(const std::string& path) {
    std::string ext = extension_of(path);
    return ext == "mp4" || ext == "mkv";
}

std::vector<std::string> video_encoder_args(const std::string& path, const std::string& part, int width, int height,
                                            int fps, const std::string& wav) {
    return encoder_args({"-f", "rawvideo", "-pix_fmt", "rgb24", "-s", std::to_string(width) + "x" + std::to_string(height),
                         "-framerate", std::to_string(fps), "-i", "pipe:0", "-i", wav, "-map", "0:v:0", "-map", "1:a:0"},
                        path, part, false);
}

std::vector<std::string> video_join_args(const std::string& path, const std::string& part, const std::string& list) {
    return encoder_args({"-f", "concat", "-safe", "0", "-i", list, "-map", "0:v:0", "-map", "0:a:0", "-fps_mode",
                         "passthrough"},
                        path, part, true);
}

VideoEncoder::VideoEncoder(const std::string& path)
    : path_(path), part_(file_part_name(path)), errors_(errors_file(path)) {}

bool VideoEncoder::open(int width, int height, int fps, const std::string& wav) {
    return encoder_process_start(video_encoder_args(path_, part_, width, height, fps, wav), errors_, &process_);
}

bool VideoEncoder::open_join(const std::string& list) {
    return encoder_process_start(video_join_args(path_, part_, list), errors_, &process_);
}

// The encoder's own words, each line after its name, on lines of their own
// below the progress line.
void VideoEncoder::report_errors() const {
    std::FILE* f = std::fopen(errors_.c_str(), "r");
    if (!f) return;
    char line[512];
    while (std::fgets(line, sizeof line, f)) {
        std::size_t n = std::strlen(line);
        capture_message("%s: %s%s", encoder_program, line, n > 0 && line[n - 1] == '\n' ? "" : "\n");
    }
    std::fclose(f);
}

void VideoEncoder::discard() {
    std::remove(part_.c_str());
    std::remove(errors_.c_str());
}

bool VideoEncoder::stopped(const char* what) {
    int code = encoder_process_finish(&process_);
    report_errors();
    capture_message("heden: %s stopped %s (exit code %d); `%s` was not written\n", encoder_program, what, code,
                    path_.c_str());
    discard();
    return false;
}

bool VideoEncoder::write_frame(const std::vector<std::uint8_t>& rgb) {
    if (encoder_process_write(&process_, rgb.data(), rgb.size())) return true;
    return stopped("taking frames early");
}

int VideoEncoder::finish_encoding() { return encoder_process_finish(&process_); }

bool VideoEncoder::commit(int code) {
    if (code != 0) {
        report_errors();
        capture_message("heden: %s failed (exit code %d); `%s` was not written\n", encoder_program, code, path_.c_str());
        discard();
        return false;
    }
    std::remove(errors_.c_str());
    return file_commit(part_, path_);
}

void VideoEncoder::abandon() {
    encoder_process_finish(&process_);
    discard();
}
