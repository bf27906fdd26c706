// Loading every member of a cast table from a media file the way the runtime does, with one
// report line per member that fails and a summary line.
#pragma once

#include <string>

#include "cast/cast_rows.h"
#include "cast/media_file.h"
#include "cast/scaled_media_format.h"

namespace qn::qmftool {

using ReportLine = void (*)(bool passed, const std::string& line);

bool checkMembers(const MediaFile& media, const CastRows& table, ReportLine report);

// Why a bitmap's blobs do not load as a width x height picture with its alpha, or empty.
std::string bitmapBlobsProblem(const MediaFile& media, const BitmapBlobs& blobs, int32_t width, int32_t height);

}  // namespace qn::qmftool
