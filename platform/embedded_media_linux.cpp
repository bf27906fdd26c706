#include "platform/embedded_media.h"

// Defined by the assembly file that EmbedMedia.cmake generates; weak so that a program without
// embedded media links and sees null.
extern "C" {
extern const uint8_t qn_embedded_media_begin[] __attribute__((weak));
extern const uint8_t qn_embedded_media_end[] __attribute__((weak));
}

namespace qn::platform {

EmbeddedMedia embeddedMedia() {
  if (!qn_embedded_media_begin || !qn_embedded_media_end) return {};
  return {qn_embedded_media_begin, static_cast<size_t>(qn_embedded_media_end - qn_embedded_media_begin)};
}

}  // namespace qn::platform
