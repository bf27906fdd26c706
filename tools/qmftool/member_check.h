// Loading every member of a cast table from a media file the way the runtime does, with one
// report line per member that fails and a summary line.
#pragma once

#include <string>

#include "cast/cast_rows.h"
#include "cast/media_file.h"

namespace qn::qmftool {

using ReportLine = void (*)(bool passed, const std::string& line);

bool checkMembers(const MediaFile& media, const CastRows& table, ReportLine report);

}  // namespace qn::qmftool
