// Packing a finer media set (cast/scaled_media_format.h) from the manifest the movie's media file
// was packed from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/qmftool/manifest.h"
#include "tools/qmftool/packer.h"

namespace qn::qmftool {

// The set of `scale` (2 to 4) for `base`, which packManifest made from the same manifest: every
// bitmap's picture from the folder of its own with "@Kx" added (see finerPicturePath), exactly
// `scale` times the member's size, its regPoint `scale` times the member's. Members with useAlpha
// keep their picture's PNG and alpha blob as in the movie's file; those marked scaledAs=jpeg
// (opaque, without useAlpha) are stored as JPEG; the others keep their PNG.
bool packScaledSet(Manifest& manifest, const std::string& manifestPath, const PackedCast& base, int32_t scale,
                   std::vector<uint8_t>& out, std::string& error);

// The picture of scale `scale` for the one at `path`: art/003.png -> art@4x/003.png; a picture
// without a folder, 003.png -> 003@4x.png.
std::string finerPicturePath(const std::string& path, int32_t scale);

}  // namespace qn::qmftool
