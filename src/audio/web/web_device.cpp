// Sound in the page: the library's thread (a fiber, see platform/web)
// writes into a ring; the page's Web Audio callback (web/page.js) takes a
// block from it each time it plays one, through heden_web_audio_take. The
// frames being heard are the ones in the ring and the block playing.
#include <emscripten.h>

#include <memory>
#include <vector>

#include "audio/frame_ring.h"
#include "audio/output_device.h"
#include "platform/platform.h"

namespace audio {

namespace {

// About 3 s at 44.1 kHz: the ring is filled only between two frames of the
// picture, so it must outlast a slow one (software WebGL draws a few frames
// a second). Its length adds no delay to what is seen: the clock follows
// the frame being heard, and a seek or a pause empties the ring.
constexpr int ring_frames = 131072;

std::unique_ptr<FrameRing> ring;
std::vector<std::int16_t> block;
int playing_block = 0;  // frames handed to the browser and not heard yet

int web_open(int rate) {
    int actual = EM_ASM_INT({ return Module.heden.audioOpen($0); }, rate);
    if (actual <= 0) return 0;
    ring = std::make_unique<FrameRing>(ring_frames);
    playing_block = 0;
    return actual;
}

int web_writable() { return ring->room(); }
void web_write(const std::int16_t* frames, int count) { ring->write(frames, count); }
int web_queued() { return ring->filled() + playing_block; }
void web_drop() { ring->clear(); }
void web_wait() { platform::sleep_ms(5); }

void web_close() {
    EM_ASM({ Module.heden.audioClose(); });
    ring.reset();
}

const OutputDevice web_device{web_open, web_writable, web_write, web_queued, web_drop, web_wait, web_close};

}  // namespace

const OutputDevice* default_output_device() { return &web_device; }

}  // namespace audio

// The page's audio callback: `count` frames to play now, interleaved 16-bit
// stereo at the returned address (silence where the ring ran short).
extern "C" EMSCRIPTEN_KEEPALIVE const std::int16_t* heden_web_audio_take(int count) {
    if (!audio::ring || count < 1) return nullptr;
    audio::block.resize(2 * static_cast<std::size_t>(count));
    audio::ring->take(audio::block.data(), count);
    audio::playing_block = count;
    return audio::block.data();
}

// Frames the page played as silence because the ring ran short.
extern "C" EMSCRIPTEN_KEEPALIVE double heden_web_audio_starved() {
    return audio::ring ? static_cast<double>(audio::ring->starved()) : 0.0;
}
