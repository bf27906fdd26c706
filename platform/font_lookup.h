// Finding an installed font file for a face by name, through the system's font configuration.
// The browser has none: there the text renderer's own choice by path is all there is.
#pragma once

#include <optional>
#include <string>

#include "platform/text_renderer.h"

namespace qn::platform {

struct FontFile {
  std::string path;
  int index = 0;         // the face's number inside the file
  bool bold = false;    // the face is bold itself (nothing to synthesise)
  bool italic = false;  // the face is italic or oblique itself
};

// The closest installed match for the face, weight and slant asked for; none when nothing can be
// asked (no font configuration) or nothing matches.
std::optional<FontFile> findInstalledFont(const FontRequest& request);

// Lets go of the configuration the lookups loaded (at the end of the program).
void releaseFontLookup();

}  // namespace qn::platform
