#include "platform/embedded_media.h"

#include <array>

// Defined by the assembly file that EmbedMedia.cmake generates; weak so that a program without
// embedded media links and sees null.
extern "C" {
extern const uint8_t qn_embedded_media_begin[] __attribute__((weak));
extern const uint8_t qn_embedded_media_end[] __attribute__((weak));
extern const uint8_t qn_embedded_media_2x_begin[] __attribute__((weak));
extern const uint8_t qn_embedded_media_2x_end[] __attribute__((weak));
extern const uint8_t qn_embedded_media_3x_begin[] __attribute__((weak));
extern const uint8_t qn_embedded_media_3x_end[] __attribute__((weak));
extern const uint8_t qn_embedded_media_4x_begin[] __attribute__((weak));
extern const uint8_t qn_embedded_media_4x_end[] __attribute__((weak));
}

namespace qn::platform {

namespace {

struct Section {
  const uint8_t* begin;
  const uint8_t* end;
};

}  // namespace

EmbeddedMedia embeddedMedia(int32_t scale) {
  const std::array<Section, 4> sections = {Section{qn_embedded_media_begin, qn_embedded_media_end},
                                           Section{qn_embedded_media_2x_begin, qn_embedded_media_2x_end},
                                           Section{qn_embedded_media_3x_begin, qn_embedded_media_3x_end},
                                           Section{qn_embedded_media_4x_begin, qn_embedded_media_4x_end}};
  if (scale < 1 || scale > static_cast<int32_t>(sections.size())) return {};
  const Section& section = sections[static_cast<size_t>(scale - 1)];
  if (!section.begin || !section.end) return {};
  return {section.begin, static_cast<size_t>(section.end - section.begin)};
}

}  // namespace qn::platform
