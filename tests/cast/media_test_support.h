// Building media data in memory for the tests: magic, blobs, trailer, as the packer lays them out.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "cast/media_format.h"

namespace qn::testing {

class MediaBuilder {
 public:
  MediaBuilder() { bytes_ = {'Q', 'M', 'F', '!'}; }

  struct Blob {
    int32_t offset, packed, unpacked;
  };

  Blob stored(const std::vector<uint8_t>& data) {
    Blob blob{size(), static_cast<int32_t>(data.size()), static_cast<int32_t>(data.size())};
    bytes_.insert(bytes_.end(), data.begin(), data.end());
    return blob;
  }

  Blob compressed(const std::vector<uint8_t>& data) {
    uLongf capacity = compressBound(static_cast<uLong>(data.size()));
    std::vector<uint8_t> stream(capacity);
    compress2(stream.data(), &capacity, data.data(), static_cast<uLong>(data.size()), 9);
    Blob blob{size(), static_cast<int32_t>(capacity), static_cast<int32_t>(data.size())};
    bytes_.insert(bytes_.end(), stream.begin(), stream.begin() + capacity);
    return blob;
  }

  std::vector<uint8_t> finish(uint32_t seed = 7) {
    uint32_t word = makeTrailerWord(seed);
    for (int shift = 0; shift < 32; shift += 8) bytes_.push_back(static_cast<uint8_t>(word >> shift));
    return bytes_;
  }

  int32_t size() const { return static_cast<int32_t>(bytes_.size()); }

 private:
  std::vector<uint8_t> bytes_;
};

inline std::vector<uint8_t> bytesOf(const std::string& text) { return {text.begin(), text.end()}; }

}  // namespace qn::testing
