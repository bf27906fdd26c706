#include <fontconfig/fontconfig.h>

#include "platform/font_lookup.h"

namespace qn::platform {

namespace {
bool configurationLoaded = false;
}

std::optional<FontFile> findInstalledFont(const FontRequest& request) {
  configurationLoaded = true;
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return std::nullopt;
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(request.face.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result;
  std::optional<FontFile> found;
  if (FcPattern* match = FcFontMatch(nullptr, pattern, &result)) {
    FcChar8* path = nullptr;
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path) {
      FcPatternGetInteger(match, FC_INDEX, 0, &index);
      FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
      FcPatternGetInteger(match, FC_SLANT, 0, &slant);
      found = FontFile{reinterpret_cast<const char*>(path), index, weight >= FC_WEIGHT_DEMIBOLD, slant != FC_SLANT_ROMAN};
    }
    FcPatternDestroy(match);
  }
  FcPatternDestroy(pattern);
  return found;
}

void releaseFontLookup() {
  if (configurationLoaded) FcFini();
  configurationLoaded = false;
}

}  // namespace qn::platform
