// Packing a manifest: the media data (magic, blobs in manifest order, trailer word) and the cast
// rows that address it.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "cast/cast_rows.h"
#include "tools/qmftool/manifest.h"

namespace qn::qmftool {

struct PackedCast {
  std::vector<uint8_t> media;
  std::vector<BitmapRow> bitmaps;
  std::vector<FieldRow> fields;
  std::vector<SoundRow> sounds;
  std::vector<ScriptRow> scripts;
  std::deque<std::string> strings;  // the texts the rows point at; a deque never moves them

  CastRows rows() const {
    return {bitmaps, fields, sounds, scripts, static_cast<int32_t>(media.size())};
  }
};

bool packManifest(Manifest& manifest, const std::string& manifestPath, PackedCast& out, std::string& error);

// The C++ source that defines movieCastRows() for the packed rows.
std::string castTableSource(const PackedCast& cast, const std::string& manifestName);

}  // namespace qn::qmftool
