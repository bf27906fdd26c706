// Turning decoded samples of any PCM layout into a sample buffer in the mixer's output format.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/wave_format.h"
#include "sound/sample_buffer.h"

namespace qn {

// Samples already in the output layout are copied (8-bit ones made signed); anything else goes
// through the platform's converter. Null for a layout the converter refuses or when memory is
// short.
SampleRef convertSamples(const platform::WaveFormat& format, const uint8_t* samples, size_t size,
                         const platform::WaveFormat& output);

}  // namespace qn
