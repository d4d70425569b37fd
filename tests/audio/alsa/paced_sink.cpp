// An ALSA PCM plugin for the tests: a playback sink that consumes frames at
// real-time speed, like a sound card with no card behind it. It throws the
// sound away (a `file` PCM in front of it keeps a copy). Like a card it
// underruns when the application lets it run dry: the PCM then reports
// -EPIPE until it is prepared again.
#include <alsa/asoundlib.h>
#include <alsa/pcm_external.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace {

struct PacedSink {
    snd_pcm_ioplug_t io;
    timespec started;
    snd_pcm_uframes_t start_hw;
};

double seconds_since(const timespec& t) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec - t.tv_sec) + static_cast<double>(now.tv_nsec - t.tv_nsec) * 1e-9;
}

int sink_start(snd_pcm_ioplug_t* io) {
    auto* sink = static_cast<PacedSink*>(io->private_data);
    clock_gettime(CLOCK_MONOTONIC, &sink->started);
    sink->start_hw = io->hw_ptr;
    return 0;
}

int sink_stop(snd_pcm_ioplug_t*) { return 0; }

// The play position: frames played since the start, never past what was
// written. Running dry while playing is an underrun (-EPIPE).
snd_pcm_sframes_t played_to(snd_pcm_ioplug_t* io, snd_pcm_uframes_t* hw) {
    auto* sink = static_cast<PacedSink*>(io->private_data);
    *hw = io->hw_ptr;
    if (io->state != SND_PCM_STATE_RUNNING && io->state != SND_PCM_STATE_DRAINING) return 0;
    *hw = sink->start_hw + static_cast<snd_pcm_uframes_t>(seconds_since(sink->started) * io->rate);
    if (*hw < io->appl_ptr) return 0;
    *hw = io->appl_ptr;
    return io->state == SND_PCM_STATE_DRAINING ? 0 : -EPIPE;
}

snd_pcm_sframes_t sink_pointer(snd_pcm_ioplug_t* io) {
    snd_pcm_uframes_t hw = 0;
    snd_pcm_sframes_t err = played_to(io, &hw);
    return err < 0 ? err : static_cast<snd_pcm_sframes_t>(hw % io->buffer_size);
}

// Like a card's driver, the delay of a PCM that ran dry is an error.
int sink_delay(snd_pcm_ioplug_t* io, snd_pcm_sframes_t* delay) {
    snd_pcm_uframes_t hw = 0;
    snd_pcm_sframes_t err = played_to(io, &hw);
    if (err < 0) return static_cast<int>(err);
    *delay = static_cast<snd_pcm_sframes_t>(io->appl_ptr - hw);
    return 0;
}

snd_pcm_sframes_t sink_transfer(snd_pcm_ioplug_t*, const snd_pcm_channel_area_t*, snd_pcm_uframes_t,
                                snd_pcm_uframes_t size) {
    return static_cast<snd_pcm_sframes_t>(size);
}

int sink_close(snd_pcm_ioplug_t* io) {
    delete static_cast<PacedSink*>(io->private_data);
    return 0;
}

const snd_pcm_ioplug_callback_t callbacks = [] {
    snd_pcm_ioplug_callback_t c;
    std::memset(&c, 0, sizeof c);
    c.start = sink_start;
    c.stop = sink_stop;
    c.pointer = sink_pointer;
    c.transfer = sink_transfer;
    c.close = sink_close;
    c.delay = sink_delay;
    return c;
}();

// The plugin's one option: `rate N` makes it a card that runs at N only.
long fixed_rate(snd_config_t* conf) {
    long rate = 0;
    snd_config_iterator_t i, next;
    snd_config_for_each(i, next, conf) {
        snd_config_t* entry = snd_config_iterator_entry(i);
        const char* id = nullptr;
        if (snd_config_get_id(entry, &id) >= 0 && std::strcmp(id, "rate") == 0) snd_config_get_integer(entry, &rate);
    }
    return rate;
}

int set_constraints(snd_pcm_ioplug_t* io, long rate) {
    static const unsigned access[] = {SND_PCM_ACCESS_RW_INTERLEAVED};
    static const unsigned formats[] = {SND_PCM_FORMAT_S16_LE};
    int err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_ACCESS, 1, access);
    if (err >= 0) err = snd_pcm_ioplug_set_param_list(io, SND_PCM_IOPLUG_HW_FORMAT, 1, formats);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_CHANNELS, 1, 2);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_RATE, rate ? static_cast<unsigned>(rate) : 8000u,
                                                    rate ? static_cast<unsigned>(rate) : 192000u);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIOD_BYTES, 64, 64 * 1024);
    if (err >= 0) err = snd_pcm_ioplug_set_param_minmax(io, SND_PCM_IOPLUG_HW_PERIODS, 2, 64);
    return err;
}

}  // namespace

extern "C" {

SND_PCM_PLUGIN_DEFINE_FUNC(paced_sink) {
    if (stream != SND_PCM_STREAM_PLAYBACK) return -EINVAL;
    auto* sink = new PacedSink{};
    sink->io.version = SND_PCM_IOPLUG_VERSION;
    sink->io.name = "paced sink";
    sink->io.mmap_rw = 0;
    sink->io.callback = &callbacks;
    sink->io.private_data = sink;
    int err = snd_pcm_ioplug_create(&sink->io, name, stream, mode);
    if (err < 0) {
        delete sink;
        return err;
    }
    err = set_constraints(&sink->io, fixed_rate(conf));
    if (err < 0) {
        snd_pcm_ioplug_delete(&sink->io);
        return err;
    }
    *pcmp = sink->io.pcm;
    return 0;
}

SND_PCM_PLUGIN_SYMBOL(paced_sink)
}
