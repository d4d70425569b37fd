// The Linux program's default output: ALSA's "default" PCM, non-blocking,
// 16-bit stereo. Usually ALSA's plug layer converts to whatever rate the
// hardware runs at. Every call but wait() comes in under the library's lock.
#include <alsa/asoundlib.h>

#include "audio/output_device.h"
#include "platform/platform.h"

namespace {

snd_pcm_t* pcm = nullptr;

constexpr unsigned latency_us = 100000;

// snd_pcm_set_params starts the PCM only once the whole buffer (rounded
// down to periods) is queued. The library's thread writes in chunks that
// need not add up to that, so the PCM could wait forever with most of its
// buffer full: it starts as soon as one period is queued instead.
bool start_after_one_period() {
    snd_pcm_uframes_t buffer = 0, period = 0;
    snd_pcm_sw_params_t* sw = nullptr;
    if (snd_pcm_get_params(pcm, &buffer, &period) < 0 || snd_pcm_sw_params_malloc(&sw) < 0) return false;
    bool ok = snd_pcm_sw_params_current(pcm, sw) >= 0 && snd_pcm_sw_params_set_start_threshold(pcm, sw, period) >= 0 &&
              snd_pcm_sw_params(pcm, sw) >= 0;
    snd_pcm_sw_params_free(sw);
    return ok;
}

bool set_params(unsigned rate) {
    return snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2, rate, 1, latency_us) >= 0;
}

// The rate nearest to `rate` the PCM can run 16-bit stereo at; 0 if none.
unsigned nearest_rate(unsigned rate) {
    snd_pcm_hw_params_t* hw = nullptr;
    snd_pcm_hw_params_alloca(&hw);
    if (snd_pcm_hw_params_any(pcm, hw) < 0 || snd_pcm_hw_params_set_format(pcm, hw, SND_PCM_FORMAT_S16_LE) < 0 ||
        snd_pcm_hw_params_set_channels(pcm, hw, 2) < 0 || snd_pcm_hw_params_set_rate_near(pcm, hw, &rate, nullptr) < 0)
        return 0;
    return rate;
}

// A default PCM without ALSA's plug layer in front of the card may not run
// at the asked rate: it then runs at the nearest one and the library's
// thread resamples to it.
int alsa_open(int rate) {
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        pcm = nullptr;
        return 0;
    }
    unsigned actual = static_cast<unsigned>(rate);
    if (!set_params(actual)) {
        actual = nearest_rate(actual);
        if (actual == 0 || !set_params(actual)) actual = 0;
    }
    if (actual == 0 || !start_after_one_period()) {
        snd_pcm_close(pcm);
        pcm = nullptr;
        return 0;
    }
    return static_cast<int>(actual);
}

int alsa_writable() {
    snd_pcm_sframes_t room = snd_pcm_avail_update(pcm);
    if (room < 0) {
        snd_pcm_recover(pcm, static_cast<int>(room), 1);
        room = snd_pcm_avail_update(pcm);
    }
    return room < 0 ? 0 : static_cast<int>(room);
}

void alsa_write(const std::int16_t* frames, int count) {
    while (count > 0) {
        snd_pcm_sframes_t done = snd_pcm_writei(pcm, frames, static_cast<snd_pcm_uframes_t>(count));
        if (done == -EAGAIN) return;
        if (done < 0) {
            if (snd_pcm_recover(pcm, static_cast<int>(done), 1) < 0) return;
            continue;
        }
        frames += 2 * done;
        count -= static_cast<int>(done);
    }
}

int alsa_queued() {
    snd_pcm_sframes_t delay = 0;
    if (snd_pcm_delay(pcm, &delay) < 0 || delay < 0) return 0;
    return static_cast<int>(delay);
}

void alsa_drop() {
    snd_pcm_drop(pcm);
    snd_pcm_prepare(pcm);
}

// Sleeping instead of polling the PCM keeps every ALSA call under the lock.
void alsa_wait() { platform::sleep_ms(4); }

void alsa_close() {
    if (pcm) snd_pcm_close(pcm);
    pcm = nullptr;
}

const audio::OutputDevice alsa_ops{alsa_open, alsa_writable, alsa_write, alsa_queued, alsa_drop, alsa_wait, alsa_close};

}  // namespace

const audio::OutputDevice* audio::default_output_device() { return &alsa_ops; }
