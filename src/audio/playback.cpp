#include "audio/playback.h"

#include <atomic>
#include <memory>
#include <vector>

#include "audio/spin_lock.h"
#include "audio/stereo_feeder.h"
#include "audio/vorbis_stream.h"
#include "platform/platform.h"

namespace audio {

namespace {

constexpr int chunk_frames = 512;
constexpr int marker_capacity = 64;

// Which stream frames went out in which device frames, so that the frame
// being heard can be told from the device's play cursor.
struct Marker {
    std::uint64_t device_frame;
    std::int64_t stream_frame;
    std::uint32_t device_frames, stream_frames;
};

struct Slot {
    // Shared with the main thread, under the engine lock.
    bool alive = false, playing = false, seek_pending = false;
    std::int64_t seek_target = 0;
    std::int64_t base = 0;  // position while no marker is kept
    std::uint32_t epoch = 0;  // bumped by every seek and stop
    Marker markers[marker_capacity];
    int marker_count = 0, marker_next = 0;
    // Set while the library's thread works on the stream outside the lock.
    std::atomic<bool> busy{false};
    // The library's thread only (main thread only while not alive).
    std::unique_ptr<VorbisStream> stream;
    StereoFeeder feeder;
};

struct Engine {
    SpinLock lock;
    const OutputDevice* device = nullptr;
    int rate = 0;
    platform::Handle thread = 0;
    bool running = false;
    std::atomic<bool> quit{false};
    std::atomic<std::uint32_t> rounds{0};
    std::uint64_t written = 0;  // device frames written since the start
    Slot slots[max_streams];
};

Engine engine;

// What one round of the thread does for a slot, decided under the lock.
struct Work {
    bool active = false, seek = false, playing = false;
    std::int64_t target = 0, start = 0, consumed = 0;
    std::uint32_t epoch = 0;
};

void clear_markers(Slot& s) {
    s.marker_count = 0;
    s.marker_next = 0;
    ++s.epoch;
}

void push_marker(Slot& s, const Marker& m) {
    s.markers[s.marker_next] = m;
    s.marker_next = (s.marker_next + 1) % marker_capacity;
    if (s.marker_count < marker_capacity) ++s.marker_count;
}

// Called with the lock held.
std::int64_t position_locked(const Slot& s) {
    if (s.marker_count == 0) return s.base;
    std::uint64_t audible = engine.written - static_cast<std::uint64_t>(engine.device->queued());
    const Marker* oldest = nullptr;
    for (int i = 1; i <= s.marker_count; ++i) {
        const Marker& m = s.markers[(s.marker_next - i + marker_capacity) % marker_capacity];
        oldest = &m;
        if (m.device_frame > audible) continue;
        std::uint64_t into = audible - m.device_frame;
        if (into > m.device_frames) into = m.device_frames;
        return m.stream_frame + static_cast<std::int64_t>(into * m.stream_frames / m.device_frames);
    }
    return oldest->stream_frame;
}

// Takes the slots' commands; returns the room on the device.
int take_commands(Work* work) {
    Locked held(engine.lock);
    bool drop = false;
    for (int i = 0; i < max_streams; ++i) {
        Slot& s = engine.slots[i];
        work[i] = Work{};
        if (!s.alive) continue;
        s.busy = true;
        work[i].active = true;
        work[i].playing = s.playing;
        work[i].epoch = s.epoch;
        if (s.seek_pending) {
            work[i].seek = true;
            work[i].target = s.seek_target;
            s.seek_pending = false;
            drop = true;
        }
    }
    if (drop) engine.device->drop();
    return engine.device->writable();
}

void publish(const Work* work, const std::int16_t* out, int frames) {
    Locked held(engine.lock);
    std::uint64_t start = engine.written;
    if (frames > 0) {
        engine.device->write(out, frames);
        engine.written += static_cast<std::uint64_t>(frames);
    }
    for (int i = 0; i < max_streams; ++i) {
        Slot& s = engine.slots[i];
        if (!work[i].active) continue;
        if (frames > 0 && work[i].playing && s.epoch == work[i].epoch)
            push_marker(s, Marker{start, work[i].start, static_cast<std::uint32_t>(frames),
                                  static_cast<std::uint32_t>(work[i].consumed)});
        s.busy = false;
    }
}

void mix_round(Work* work, std::vector<std::int32_t>& mix, std::vector<std::int16_t>& out) {
    std::fill(mix.begin(), mix.end(), 0);
    for (int i = 0; i < max_streams; ++i) {
        if (!work[i].playing) continue;
        StereoFeeder& feeder = engine.slots[i].feeder;
        work[i].start = feeder.position();
        feeder.produce(mix.data(), chunk_frames);
        work[i].consumed = feeder.position() - work[i].start;
    }
    for (std::size_t k = 0; k < mix.size(); ++k) {
        std::int32_t v = mix[k];
        out[k] = static_cast<std::int16_t>(v > 32767 ? 32767 : v < -32768 ? -32768 : v);
    }
}

void run(void*) {
    std::vector<std::int32_t> mix(2 * chunk_frames);
    std::vector<std::int16_t> out(2 * chunk_frames);
    Work work[max_streams];
    while (!engine.quit) {
        ++engine.rounds;
        int room = take_commands(work);
        bool sought = false;
        for (int i = 0; i < max_streams; ++i) {
            if (!work[i].seek) continue;
            engine.slots[i].stream->seek(work[i].target);
            engine.slots[i].feeder.restart();
            sought = true;
        }
        if (room < chunk_frames || sought) {
            publish(work, nullptr, 0);
            if (!sought) engine.device->wait();
            continue;
        }
        mix_round(work, mix, out);
        publish(work, out.data(), chunk_frames);
    }
}

}  // namespace

bool playback_start(const OutputDevice* device, int rate) {
    if (engine.running) return false;
    int actual = device->open(rate);
    if (actual <= 0) return false;
    engine.device = device;
    engine.rate = actual;
    engine.written = 0;
    engine.quit = false;
    engine.thread = platform::thread_start(run, nullptr);
    if (!engine.thread) {
        device->close();
        return false;
    }
    engine.running = true;
    return true;
}

bool playback_running() { return engine.running; }

void playback_close() {
    if (!engine.running) return;
    engine.quit = true;
    platform::thread_join(engine.thread);
    engine.device->close();
    for (Slot& s : engine.slots) {
        s.alive = s.playing = s.seek_pending = false;
        s.stream.reset();
    }
    engine.running = false;
}

std::uint32_t playback_rounds() { return engine.rounds; }

int playback_add(VorbisStream* stream) {
    for (int i = 0; i < max_streams; ++i) {
        Slot& s = engine.slots[i];
        if (s.alive || s.busy) continue;
        s.stream.reset(stream);
        s.feeder.attach(stream, engine.rate);
        Locked held(engine.lock);
        s.playing = s.seek_pending = false;
        s.base = 0;
        clear_markers(s);
        s.alive = true;
        return i;
    }
    return -1;
}

void playback_remove(int slot) {
    Slot& s = engine.slots[slot];
    {
        Locked held(engine.lock);
        s.alive = s.playing = false;
    }
    while (s.busy) platform::sleep_ms(1);
    s.stream.reset();
}

// Starting throws away the silence queued while idle, so the music is heard
// at once and its position counts from the first frame heard.
void playback_play(int slot) {
    Slot& s = engine.slots[slot];
    Locked held(engine.lock);
    if (s.playing) return;
    std::int64_t from = s.seek_pending ? s.seek_target : position_locked(s);
    s.playing = true;
    s.seek_pending = true;
    s.seek_target = s.base = from;
    clear_markers(s);
}

// Stopping keeps the place: the stream is set back to what was heard, so
// that playing again goes on from there.
void playback_stop(int slot) {
    Slot& s = engine.slots[slot];
    Locked held(engine.lock);
    std::int64_t heard = position_locked(s);
    s.playing = false;
    s.seek_pending = true;
    s.seek_target = s.base = heard;
    clear_markers(s);
}

void playback_seek(int slot, std::int64_t frame) {
    Slot& s = engine.slots[slot];
    Locked held(engine.lock);
    s.seek_pending = true;
    s.seek_target = s.base = frame;
    clear_markers(s);
}

std::int64_t playback_position(int slot) {
    Locked held(engine.lock);
    return position_locked(engine.slots[slot]);
}

}  // namespace audio
