// The choice of the mixer's output format among the six 8-bit formats a device may offer.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/wave_format.h"

namespace qn {

// What sounds decode to when no device offers a format (and when no mixer runs at all): the
// format the program asks for, 22050 Hz stereo 8-bit.
inline constexpr platform::WaveFormat kDefaultOutputFormat = platform::pcmFormat(2, 22050, 8);

// Starts at the requested rate class (rate / 1000: 44, 22 or 11) and walks down to 11025 Hz,
// first through the stereo formats when stereo is preferred, then through the mono ones. None for
// another rate class or when `offered` (capability bits) holds none of them.
std::optional<platform::WaveFormat> chooseOutputFormat(uint32_t rate, bool preferStereo,
                                                       uint32_t offered);

}  // namespace qn
