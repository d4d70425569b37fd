#include "capture/segment_join.h"

#include <cstdio>
#include <filesystem>

#include "capture/file_out.h"
#include "capture/video_encoder.h"

namespace {

// ffmpeg's concat list: each segment by its absolute path, quoted as the
// list's own syntax asks (' closes, \' is a quote, ' opens again).
std::string concat_list(const std::vector<std::string>& segments) {
    std::string list;
    for (const std::string& segment : segments) {
        std::error_code error;
        std::string path = std::filesystem::absolute(segment, error).string();
        std::string quoted;
        for (char c : path) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        list += "file '" + quoted + "'\n";
    }
    return list;
}

}  // namespace

bool segments_join(const std::string& path, const std::vector<std::string>& segments) {
    for (const std::string& segment : segments) {
        if (std::FILE* f = std::fopen(segment.c_str(), "rb")) {
            std::fclose(f);
            continue;
        }
        capture_message("heden: no segment `%s` to join\n", segment.c_str());
        return false;
    }
    std::string list = file_part_name(path, ".list");
    std::string text = concat_list(segments);
    if (!file_write_whole(list.c_str(), text.data(), text.size())) return false;
    VideoEncoder encoder(path);
    bool joined = encoder.open_join(list) && encoder.commit(encoder.finish_encoding());
    std::remove(list.c_str());
    if (joined) capture_message("heden: wrote `%s`\n", path.c_str());
    return joined;
}
