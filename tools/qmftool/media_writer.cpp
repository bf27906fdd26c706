#include "tools/qmftool/media_writer.h"

#include <zlib.h>

#include <algorithm>

#include "cast/media_format.h"
#include "platform/mapped_file.h"
#include "tools/qmftool/bmp_writer.h"

namespace qn::qmftool {

namespace {

constexpr int64_t kLargestMediaSize = INT32_MAX;

}  // namespace

bool RgbaImage::isOpaque() const {
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i)
    if (pixels.get()[i * 4 + 3] != 255) return false;
  return true;
}

bool loadRgba(const std::string& bytes, RgbaImage& image) {
  int width = 0, height = 0, components = 0;
  image.pixels.reset(stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                                           static_cast<int>(bytes.size()), &width, &height, &components, 4));
  image.width = width;
  image.height = height;
  return image.pixels != nullptr;
}

bool readPicture(EntryReader& reader, const std::string& path, std::string& bytes) {
  if (platform::readWholeFile(path, bytes)) return true;
  reader.fail("cannot read " + path);
  return false;
}

bool finerPicturesAsJpeg(EntryReader& reader) {
  const std::string value = reader.text("scaledAs", "png");
  if (value != "png" && value != "jpeg") reader.fail("scaledAs must be png or jpeg");
  return value == "jpeg";
}

// The magic is assigned, not appended: GCC 12 at -O3 takes an insert into the cleared vector for
// an overflow (-Wstringop-overflow) and the release build stops.
MediaWriter::MediaWriter(std::vector<uint8_t>& media) : media_(media) { media_.assign({'Q', 'M', 'F', '!'}); }

void MediaWriter::blob(const uint8_t* bytes, size_t size, bool compress, int32_t& offset, int32_t& packed,
                       int32_t& unpacked) {
  offset = static_cast<int32_t>(media_.size());
  unpacked = static_cast<int32_t>(size);
  if (compress) {
    uLongf capacity = compressBound(static_cast<uLong>(size));
    std::vector<uint8_t> stream(capacity);
    if (compress2(stream.data(), &capacity, bytes, static_cast<uLong>(size), Z_BEST_COMPRESSION) == Z_OK &&
        capacity != size) {
      append(stream.data(), capacity);
      packed = static_cast<int32_t>(capacity);
      return;
    }
  }
  append(bytes, size);
  packed = unpacked;
}

void MediaWriter::alphaBlob(const RgbaImage& image, int32_t& packed, int32_t& unpacked) {
  std::vector<uint8_t> mask(static_cast<size_t>(image.width) * image.height);
  for (size_t i = 0; i < mask.size(); ++i) mask[i] = static_cast<uint8_t>(255 - image.pixels.get()[i * 4 + 3]);
  std::vector<uint8_t> bmp = writeBmp8(mask.data(), image.width, image.height);
  int32_t offset = 0;
  blob(bmp.data(), bmp.size(), true, offset, packed, unpacked);
}

size_t MediaWriter::reserve(size_t size) {
  const size_t at = media_.size();
  media_.resize(at + size);
  return at;
}

void MediaWriter::patch(size_t at, const std::vector<uint8_t>& bytes) {
  std::copy(bytes.begin(), bytes.end(), media_.begin() + static_cast<ptrdiff_t>(at));
}

void MediaWriter::finish() {
  uint32_t word = makeTrailerWord(static_cast<uint32_t>(crc32(0, media_.data(), static_cast<uInt>(media_.size()))));
  for (int shift = 0; shift < 32; shift += 8) media_.push_back(static_cast<uint8_t>(word >> shift));
}

bool MediaWriter::tooLarge() const {
  return static_cast<int64_t>(media_.size()) + kTrailerSize > kLargestMediaSize;
}

bool entryPacked(const EntryReader& reader, const MediaWriter& writer, const std::string& manifestPath,
                 std::string& error) {
  if (!reader.ok()) error = reader.error();
  else if (writer.tooLarge()) error = manifestPath + ": the media data would exceed 2 GB";
  else return true;
  return false;
}

}  // namespace qn::qmftool
