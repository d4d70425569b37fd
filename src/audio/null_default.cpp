#include "audio/output_device.h"

// Builds without a sound backend (tests, headless runs) play into the null
// device: the stream clock runs at real-time speed in silence.
const audio::OutputDevice* audio::default_output_device() { return null_output_device(); }
