#include "sound/output_format.h"

#include <array>

#include "platform/wave_output.h"

namespace qn {

namespace {

struct RateClass {
  uint32_t rateClass;
  uint32_t rate;
  uint32_t stereoBit;
  uint32_t monoBit;
};

constexpr std::array<RateClass, 3> kRateClasses = {{
    {44, 44100, platform::kStereo8Bit44100, platform::kMono8Bit44100},
    {22, 22050, platform::kStereo8Bit22050, platform::kMono8Bit22050},
    {11, 11025, platform::kStereo8Bit11025, platform::kMono8Bit11025},
}};

}  // namespace

std::optional<platform::WaveFormat> chooseOutputFormat(uint32_t rate, bool preferStereo,
                                                       uint32_t offered) {
  size_t first = 0;
  while (first < kRateClasses.size() && kRateClasses[first].rateClass != rate / 1000) ++first;
  if (first == kRateClasses.size()) return std::nullopt;
  if (preferStereo) {
    for (size_t i = first; i < kRateClasses.size(); ++i)
      if (offered & kRateClasses[i].stereoBit) return platform::pcmFormat(2, kRateClasses[i].rate, 8);
  }
  for (size_t i = first; i < kRateClasses.size(); ++i)
    if (offered & kRateClasses[i].monoBit) return platform::pcmFormat(1, kRateClasses[i].rate, 8);
  return std::nullopt;
}

}  // namespace qn
