// The media data the build linked into the executable (see EmbedMedia.cmake): the movie's media
// file and, where the build added them, its finer media sets of scales 2 to 4. A program built
// without them, or with embedding turned off, has none: `data` is null and `size` 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qn::platform {

struct EmbeddedMedia {
  const uint8_t* data = nullptr;
  size_t size = 0;
};

// Scale 1 is the movie's own media; other scales have none unless their set was linked in.
EmbeddedMedia embeddedMedia(int32_t scale = 1);

}  // namespace qn::platform
