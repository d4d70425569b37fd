#include "audio/output_device.h"
#include "platform/platform.h"

namespace audio {

namespace {

// Its play cursor advances with the clock but never passes what was written:
// when starved it waits, like a real device that underruns.
struct NullDevice {
    NullDeviceConfig config;
    int rate = 0;
    long long written = 0;
    long long played = 0;
    long base_ms = 0;
};

NullDevice device;

long now_ms() { return device.config.clock_ms ? device.config.clock_ms() : platform::process_clock_ms(); }

long long played_now() {
    long now = now_ms();
    long long played = device.played + static_cast<long long>(now - device.base_ms) * device.rate / 1000;
    if (played >= device.written) {
        device.played = device.written;
        device.base_ms = now;
        return device.written;
    }
    return played;
}

long long capacity() { return static_cast<long long>(device.rate) * device.config.buffer_ms / 1000; }

int null_open(int rate) {
    if (device.config.refuse_open) return 0;
    device.rate = rate;
    device.written = device.played = 0;
    device.base_ms = now_ms();
    return rate;
}

int null_queued() { return static_cast<int>(device.written - played_now()); }

int null_writable() { return static_cast<int>(capacity() - null_queued()); }

void null_write(const std::int16_t*, int count) {
    played_now();  // an idle device starts playing from now
    device.written += count;
}

void null_drop() {
    device.played = device.written;
    device.base_ms = now_ms();
}

void null_wait() { platform::sleep_ms(2); }

void null_close() {}

const OutputDevice null_ops{null_open, null_writable, null_write, null_queued, null_drop, null_wait, null_close};

}  // namespace

const OutputDevice* null_output_device() { return &null_ops; }

void null_device_configure(const NullDeviceConfig& config) { device.config = config; }

}  // namespace audio
