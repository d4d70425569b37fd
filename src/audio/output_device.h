// Output devices: where the library's thread sends 16-bit stereo frames.
// The portable library only knows this table; backends fill it.
#pragma once

#include <cstdint>

namespace audio {

struct OutputDevice {
    // Opens the device near `rate` frames per second; returns the rate it
    // runs at, 0 when there is no usable device.
    int (*open)(int rate);
    // Frames that can be queued now without waiting.
    int (*writable)();
    // Queues frames; never more than writable() allowed.
    void (*write)(const std::int16_t* frames, int count);
    // Frames queued but not heard yet.
    int (*queued)();
    // Throws away what is queued (a seek must be heard at once).
    void (*drop)();
    // Waits a short while for room (a period at most).
    void (*wait)();
    void (*close)();
};

// The system's default output, provided by the backend the program links:
// ALSA on Linux, the paced null device in tests and headless builds.
const OutputDevice* default_output_device();

// Consumes frames at real-time speed and plays nothing.
const OutputDevice* null_output_device();

struct NullDeviceConfig {
    bool refuse_open = false;       // act as a machine without sound output
    long (*clock_ms)() = nullptr;   // its time base; null: the process clock
    int buffer_ms = 200;
};

void null_device_configure(const NullDeviceConfig& config);

}  // namespace audio
