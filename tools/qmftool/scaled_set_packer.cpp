#include "tools/qmftool/scaled_set_packer.h"

#include <stb/stb_image_write.h>

#include "cast/scaled_media_format.h"
#include "engine/cast_member.h"
#include "tools/qmftool/media_writer.h"

namespace qn::qmftool {

namespace {

// The lossy finer pictures keep their colour at full resolution: stb's encoder subsamples it at
// qualities up to 90.
constexpr int kJpegQuality = 92;

std::vector<uint8_t> jpegOf(const RgbaImage& image) {
  std::vector<uint8_t> rgb(static_cast<size_t>(image.width) * image.height * 3);
  for (size_t i = 0; i < rgb.size() / 3; ++i)
    for (size_t channel = 0; channel < 3; ++channel) rgb[i * 3 + channel] = image.pixels.get()[i * 4 + channel];
  std::vector<uint8_t> out;
  stbi_write_jpg_to_func(
      [](void* context, void* data, int size) {
        auto* bytes = static_cast<std::vector<uint8_t>*>(context);
        bytes->insert(bytes->end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
      },
      &out, image.width, image.height, 3, rgb.data(), kJpegQuality);
  return out;
}

std::string sizeText(int32_t width, int32_t height) { return std::to_string(width) + " x " + std::to_string(height); }

class ScaledSetPacker {
 public:
  ScaledSetPacker(Manifest& manifest, const std::string& manifestPath, int32_t scale, std::vector<uint8_t>& out)
      : manifest_(manifest), path_(manifestPath), scale_(scale), writer_(out) {}

  bool run(const PackedCast& base, std::string& error) {
    table_.scale = scale_;
    table_.baseLength = static_cast<uint32_t>(base.media.size());
    table_.baseCrc = mediaIdentity(base.media.data(), base.media.size());
    const size_t tableAt = writer_.reserve(scaledSetTableSize(base.bitmaps.size()));
    size_t next = 0;
    for (ManifestEntry& entry : manifest_.entries) {
      if (entry.kind != MemberKind::bitmap) continue;
      EntryReader reader(entry, path_);
      pack(reader, base.bitmaps.at(next++));
      if (!entryPacked(reader, writer_, path_, error)) return false;
    }
    writer_.patch(tableAt, scaledSetTableBytes(table_));
    writer_.finish();
    return true;
  }

 private:
  void pack(EntryReader& reader, const BitmapRow& row) {
    const bool jpeg = finerPicturesAsJpeg(reader);
    const std::string path = finerPicturePath(reader.path("image", manifest_.folder), scale_);
    std::string bytes;
    RgbaImage image;
    if (!reader.ok() || !readPicture(reader, path, bytes)) return;
    if (!loadRgba(bytes, image)) return reader.fail(path + " is not a readable PNG: " + stbi_failure_reason());
    if (image.width != scale_ * row.width || image.height != scale_ * row.height)
      return reader.fail(path + " is " + sizeText(image.width, image.height) + ", not " + std::to_string(scale_) +
                         " times " + sizeText(row.width, row.height));
    ScaledPicture picture{memberKey(row.number, row.castLib), image.width, image.height, scale_ * row.regX, scale_ * row.regY, {}};
    BitmapBlobs& blobs = picture.blobs;
    blobs.storedFormat = 1;
    if (jpeg) {
      if (row.useAlpha || !image.isOpaque()) return reader.fail("scaledAs=jpeg needs an opaque picture without useAlpha");
      std::vector<uint8_t> encoded = jpegOf(image);
      writer_.blob(encoded.data(), encoded.size(), false, blobs.offset, blobs.packedSize, blobs.unpackedSize);
    } else {
      if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n", 8) != 0) return reader.fail(path + " is not a PNG file");
      writer_.blob(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), false, blobs.offset,
                   blobs.packedSize, blobs.unpackedSize);
      if (row.useAlpha) writer_.alphaBlob(image, blobs.alphaPackedSize, blobs.alphaUnpackedSize);
    }
    table_.pictures.push_back(picture);
  }

  Manifest& manifest_;
  std::string path_;
  int32_t scale_;
  MediaWriter writer_;
  ScaledSetTable table_;
};

}  // namespace

std::string finerPicturePath(const std::string& path, int32_t scale) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return scaledMediaFileName(path, scale);
  return path.substr(0, slash) + "@" + std::to_string(scale) + "x" + path.substr(slash);
}

bool packScaledSet(Manifest& manifest, const std::string& manifestPath, const PackedCast& base, int32_t scale,
                   std::vector<uint8_t>& out, std::string& error) {
  out.clear();
  if (scale < 2 || scale > kLargestPresentationScale) {
    error = "scale " + std::to_string(scale) + " is not 2, 3 or 4";
    return false;
  }
  return ScaledSetPacker(manifest, manifestPath, scale, out).run(base, error);
}

}  // namespace qn::qmftool
