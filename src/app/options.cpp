#include "app/options.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "capture/file_out.h"
#include "capture/video_encoder.h"

namespace {

const char usage[] =
    "usage: heden [--capture FILE [--fps N] [--start SECONDS] [--end SECONDS] [--segment K/N]]\n"
    "             [--still SECONDS:FILE.png]...\n"
    "       heden --join FILE SEGMENT.mkv...\n"
    "Without options heden plays the demo. With them it renders frames at a fixed rate\n"
    "instead, with no sound playing, writes them and exits.\n"
    "  --capture FILE     write a video with the soundtrack; the extension picks the\n"
    "                     container: .mp4 (H.264 + AAC) or .mkv (lossless H.264 + FLAC)\n"
    "  --fps N            frames per second, 1 to 1000 (default 60)\n"
    "  --start SECONDS    start of the capture (default 0): its first frame is the first\n"
    "                     at or after SECONDS of a capture from 0, and every frame is\n"
    "                     the one a capture from 0 shows\n"
    "  --end SECONDS      end of the capture (default: the end of the music plus\n"
    "                     10 s of the closing scene)\n"
    "  --still SECONDS:FILE.png\n"
    "                     write the frame shown at SECONDS as a PNG picture; may be\n"
    "                     repeated. It is the frame a capture at the same --fps\n"
    "                     shows at that time; only the frames written are drawn\n"
    "  --segment K/N      capture only segment K (0 to N - 1) of the capture cut into N\n"
    "                     contiguous stretches of nearly equal length; write each as\n"
    "                     .mkv and put them together with --join\n"
    "  --join FILE SEGMENT.mkv...\n"
    "                     join the segments, in order, into the video FILE (.mp4 or\n"
    "                     .mkv), as one capture of the whole stretch writes it\n"
    "  --gl es            draw with OpenGL ES through EGL, with no X server (Linux;\n"
    "                     with --capture or --still). --gl desktop is the default\n"
    "  --check            check the options and that the files they name can be\n"
    "                     written, and exit (0: all is well, else as a run would)\n"
    "  --help             show this and exit\n"
    "Video capture needs ffmpeg on the PATH.\n"
    "Captures and stills never wait for anyone: the texts of error boxes go to standard\n"
    "error. They stop with exit code 1 before the first frame when the pictures would not\n"
    "be the demo's: config.xml missing or incomplete, blob.dat missing or damaged, a data\n"
    "file missing, a shader program that does not build, or no render targets for the\n"
    "glow where config.xml asks for it (glext 1). They need no sound device.\n"
    "Keys while the demo plays: Escape quits, F4 switches window and fullscreen. With the\n"
    "timeline window (<debug><timeline>1</timeline></debug> in config.xml) a click or drag\n"
    "there jumps, and Space pauses and resumes picture and music. While paused, a click\n"
    "or drag, Left and Right (a frame, 1/60 s), Shift+Left and Shift+Right (to the\n"
    "previous or next beat) and Home (0 s) show the frame a capture from 0 shows at\n"
    "that time (the frame --still writes), and the timeline window's caption names it;\n"
    "Space plays on from it. A right click on the timeline sets the HDR level, from 0 at\n"
    "its left edge to 1 at its right: the further right, the more of the picture glows\n"
    "(while paused, from when the demo plays on). In captures and stills the windows take\n"
    "no keys but Escape, which stops the run like Ctrl-C.\n";

bool bad(const char* format, const char* what) {
    capture_message(format, what);
    capture_message("heden: see heden --help\n");
    return false;
}

bool parse_seconds(const char* option, const char* text, double* out) {
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(v) || v < 0 || v > 1e6) {
        capture_message("heden: %s needs a time in seconds from 0 to 1000000, not `%s`\n", option, text);
        return false;
    }
    *out = v;
    return true;
}

bool parse_fps(const char* text, int* out) {
    char* end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || v < 1 || v > max_fps) {
        capture_message("heden: --fps needs a whole number from 1 to %d, not `%s`\n", max_fps, text);
        return false;
    }
    *out = static_cast<int>(v);
    return true;
}

// A still is a PNG picture, and its name says so.
bool png_name(const std::string& path) {
    if (path.size() < 5 || path[path.size() - 5] == '/' || path[path.size() - 5] == '\\') return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".png";
}

bool parse_still(const char* text, CaptureRequest* request) {
    const char* colon = std::strchr(text, ':');
    if (!colon || colon[1] == '\0') return bad("heden: --still needs SECONDS:FILE.png, not `%s`\n", text);
    StillRequest still{0.0, colon + 1};
    if (!png_name(still.path)) return bad("heden: --still writes .png pictures, not `%s`\n", still.path.c_str());
    if (!parse_seconds("--still", std::string(text, colon).c_str(), &still.seconds)) return false;
    request->stills.push_back(still);
    return true;
}

bool parse_segment(const char* text, CaptureRequest* request) {
    int k = 0, n = 0, used = 0;
    if (std::sscanf(text, "%d/%d%n", &k, &n, &used) != 2 || text[used] != '\0' || n < 1 || n > max_segments || k < 0 ||
        k >= n)
        return bad("heden: --segment needs K/N, a segment from 0 to N - 1 of N (up to 10000), not `%s`\n", text);
    request->segment = k;
    request->segments = n;
    return true;
}

bool parse_capture(const char* text, CaptureRequest* request) {
    if (!request->video.empty()) return bad("heden: --capture given twice (`%s`)\n", text);
    if (!video_container_known(text)) return bad("heden: --capture writes .mp4 or .mkv files, not `%s`\n", text);
    request->video = text;
    return true;
}

bool parse_gl(const char* text, CaptureRequest* request) {
    std::string kind = text;
    if (kind != "es" && kind != "desktop") return bad("heden: --gl takes es or desktop, not `%s`\n", text);
    request->gl_es = kind == "es";
    return true;
}

// One option with its value.
bool parse_option(const std::string& name, const char* value, CaptureRequest* request) {
    if (name == "--gl") return parse_gl(value, request);
    if (name == "--capture") return parse_capture(value, request);
    if (name == "--still") return parse_still(value, request);
    if (name == "--fps") return parse_fps(value, &request->fps);
    if (name == "--start") return parse_seconds("--start", value, &request->start);
    if (name == "--segment") return parse_segment(value, request);
    request->has_end = true;
    return parse_seconds("--end", value, &request->end);
}

bool takes_value(const std::string& name) {
    return name == "--capture" || name == "--still" || name == "--fps" || name == "--start" || name == "--end" ||
           name == "--segment" || name == "--gl";
}

// What only makes sense together.
bool consistent(const CaptureRequest& request, bool timing_given) {
    if (timing_given && !request.active()) {
        capture_message("heden: --fps, --start and --end go with --capture or --still\n");
        return false;
    }
    // The ES path has no window to show the demo in.
    if (request.gl_es && !request.active()) {
        capture_message("heden: --gl es goes with --capture or --still\n");
        return false;
    }
    if (request.segments > 0 && (request.video.empty() || !request.stills.empty())) {
        capture_message("heden: --segment goes with --capture, without --still\n");
        return false;
    }
    if (request.has_end && request.end <= request.start) {
        capture_message("heden: --end %g is not after --start %g\n", request.end, request.start);
        return false;
    }
    for (const StillRequest& still : request.stills) {
        if (still.seconds < request.start || (request.has_end && still.seconds >= request.end)) {
            capture_message("heden: --still %g is outside the capture, which runs from %g s", still.seconds,
                            request.start);
            if (request.has_end) capture_message(" to %g s", request.end);
            capture_message("\n");
            return false;
        }
    }
    return true;
}


// --join FILE SEGMENT...: the file and its segments.
OptionsResult parse_join(int argc, char** argv, CaptureRequest* request) {
    if (argc < 4) {
        bad("heden: --join needs the video to write and at least one segment%s\n", "");
        return OptionsResult::bad;
    }
    if (!parse_capture(argv[2], request)) return OptionsResult::bad;
    request->joined.assign(argv + 3, argv + argc);
    return OptionsResult::join;
}

}  // namespace

OptionsResult options_parse(int argc, char** argv, CaptureRequest* request) {
    if (argc > 1 && std::string(argv[1]) == "--join") return parse_join(argc, argv, request);
    bool timing_given = false;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(usage, stdout);
            return OptionsResult::help;
        }
        if (arg == "--check") {
            request->check_only = true;
            continue;
        }
        std::size_t eq = arg.find('=');
        std::string name = arg.substr(0, eq);
        if (!takes_value(name)) {
            bad("heden: unknown option `%s`\n", argv[i]);
            return OptionsResult::bad;
        }
        const char* value = eq != std::string::npos ? argv[i] + eq + 1 : (i + 1 < argc ? argv[++i] : nullptr);
        if (!value) {
            bad("heden: %s needs a value\n", name.c_str());
            return OptionsResult::bad;
        }
        timing_given = timing_given || name == "--fps" || name == "--start" || name == "--end";
        if (!parse_option(name, value, request)) return OptionsResult::bad;
    }
    return consistent(*request, timing_given) ? OptionsResult::run : OptionsResult::bad;
}
