// What the packers of the movie's media file and of its finer media sets share: the writer that
// lays out magic, blobs and trailer word, the pictures read as RGBA, and the bitmap keys both read.
#pragma once

#include <stb/stb_image.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "tools/qmftool/manifest.h"

namespace qn::qmftool {

struct RgbaImage {
  int32_t width = 0, height = 0;
  std::unique_ptr<stbi_uc, void (*)(void*)> pixels{nullptr, stbi_image_free};

  bool isOpaque() const;
};

bool loadRgba(const std::string& bytes, RgbaImage& image);

// Reads a picture file for the entry; false with the entry's error set when it cannot.
bool readPicture(EntryReader& reader, const std::string& path, std::string& bytes);

// The bitmap key scaledAs: whether the member's finer pictures are stored as JPEG (they must be
// opaque and drawn with copy ink: the white key of the other inks would not survive).
bool finerPicturesAsJpeg(EntryReader& reader);

class MediaWriter {
 public:
  explicit MediaWriter(std::vector<uint8_t>& media);

  // Appends a blob, zlib-compressed when asked; a compressed stream that happens to be exactly as
  // long as the raw bytes is stored raw instead, since equal sizes mean "stored" to the reader.
  void blob(const uint8_t* bytes, size_t size, bool compress, int32_t& offset, int32_t& packed, int32_t& unpacked);
  // The picture's alpha as an 8-bit BMP mask (0 fully opaque, 255 fully transparent), compressed.
  void alphaBlob(const RgbaImage& image, int32_t& packed, int32_t& unpacked);
  // Room for `size` bytes written later with `patch`; answers where they lie.
  size_t reserve(size_t size);
  void patch(size_t at, const std::vector<uint8_t>& bytes);
  // Appends the trailer word.
  void finish();

  bool tooLarge() const;

 private:
  void append(const uint8_t* bytes, size_t size) { media_.insert(media_.end(), bytes, bytes + size); }
  std::vector<uint8_t>& media_;
};

// After an entry was packed: false with `error` set when the entry failed, or when the data has
// grown too large for the 32-bit offsets.
bool entryPacked(const EntryReader& reader, const MediaWriter& writer, const std::string& manifestPath,
                 std::string& error);

}  // namespace qn::qmftool
