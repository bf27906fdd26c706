// The media data the build linked into the executable (see EmbedMedia.cmake). A program built
// without it, or with embedding turned off, has none: `data` is null and `size` 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qn::platform {

struct EmbeddedMedia {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

EmbeddedMedia embeddedMedia();

}  // namespace qn::platform
