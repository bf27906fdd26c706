// Checking a finer media set's pictures, one report line per failure and a summary line.
#pragma once

#include "cast/media_file.h"
#include "cast/scaled_media_format.h"
#include "tools/qmftool/member_check.h"
#include "tools/qmftool/packer.h"

namespace qn::qmftool {

// Every picture of the set loads as the runtime loads it. With `base`, the movie's cast packed
// from the manifest, also: the set was made for that media file, it holds a picture of every
// bitmap of the cast and of nothing else, each exactly `table.scale` times the member's size,
// with the regPoint `table.scale` times the member's.
bool checkScaledSetPictures(const MediaFile& media, const ScaledSetTable& table, const PackedCast* base,
                            ReportLine report);

}  // namespace qn::qmftool
