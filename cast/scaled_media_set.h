// A finer media set bound for this run (the format is in scaled_media_format.h): its bytes, from
// the program's embedded copy, a mapped file or bytes handed over later, and its table, read
// once with every range checked. Whether it belongs to the movie's media and cast is the cast's
// to decide when it attaches the set.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cast/media_file.h"
#include "cast/scaled_media_format.h"

namespace qn {

class ScaledMediaSet {
 public:
  // The set in `media`, or null with `problem` saying why it cannot be read.
  static std::unique_ptr<ScaledMediaSet> read(std::unique_ptr<MediaFile> media, std::string& problem);

  int32_t scale() const { return table_.scale; }
  const ScaledSetTable& table() const { return table_; }
  const MediaFile& media() const { return *media_; }
  // The entry of a member, or null when the set has no picture of it.
  const ScaledPicture* find(int32_t memberKey) const;

 private:
  ScaledMediaSet(std::unique_ptr<MediaFile> media, ScaledSetTable table)
      : media_(std::move(media)), table_(std::move(table)) {}

  std::unique_ptr<MediaFile> media_;
  ScaledSetTable table_;
};

}  // namespace qn
