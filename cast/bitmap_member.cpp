#include "cast/bitmap_member.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "cast/bmp_decoder.h"
#include "cast/cast.h"
#include "cast/image_blob.h"
#include "gfx/draw_image.h"
#include "gfx/matte_mask.h"
#include "gfx/shape_drawing.h"
#include "platform/mapped_file.h"

namespace qn {

namespace {

bool nameContains(const std::string& name, std::string_view part) {
  std::string lower = name;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower.find(part) != std::string::npos;
}

// The alpha blob as an 8-bit mask (0 opaque, 255 transparent); a 1-bit mask's set bits become 255.
Value alphaMaskFrom(const DecodedImage& decoded) {
  if (decoded.depthCode == 8) return Value::adopt(imageBufferFrom(decoded));
  if (decoded.depthCode != 1) return Value();
  Value mask = Value::adopt(ImageBuffer::create(decoded.width, decoded.height, 8));
  ImageBuffer* buffer = imageBufferOf(mask);
  if (!buffer || !buffer->hasPixels()) return Value();
  for (int32_t y = 0; y < decoded.height; ++y) {
    const uint8_t* bits = decoded.row(y);
    uint8_t* row = buffer->row(y);
    for (int32_t x = 0; x < decoded.width; ++x) row[x] = ((bits[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
  }
  return mask;
}

BlitParams wholeImageCopy(const ImageBuffer& image) {
  BlitParams params;
  params.destinationRect = image.bounds();
  params.sourceRect = image.bounds();
  return params;
}

}  // namespace

ImageBuffer* imageBufferFrom(const DecodedImage& decoded) {
  ImageBuffer* image = ImageBuffer::create(decoded.width, decoded.height, decoded.depthCode);
  if (!image) return nullptr;
  if (isIndexed(image->format()) && !decoded.palette.empty()) image->setPalette(PaletteTable::intern(decoded.palette));
  if (image->hasPixels() && image->stride() == decoded.stride)
    std::memcpy(image->storage(), decoded.pixels.get(), image->storageBytes());
  return image;
}

BitmapMember::BitmapMember(Cast& cast, const BitmapRow& row)
    : CastMemberBase(cast, sym::bitmap, row.number, row.castLib, row.name ? row.name : ""),
      filename_(row.filename ? row.filename : ""),
      depth_(row.depth),
      width_(row.width),
      height_(row.height),
      regX_(row.regX),
      regY_(row.regY),
      useAlpha_(row.useAlpha != 0),
      matteAlphaThreshold_(row.matteAlphaThreshold),
      offset_(row.offset),
      packedSize_(row.packedSize),
      unpackedSize_(row.unpackedSize),
      alphaPackedSize_(row.alphaPackedSize),
      alphaUnpackedSize_(row.alphaUnpackedSize),
      storedFormat_(row.storedFormat) {}

BitmapMember::BitmapMember(Cast& cast, int32_t number, int32_t castLib, int32_t depth)
    : CastMemberBase(cast, sym::bitmap, number, castLib, ""),
      depth_(depth == -16 ? 16 : depth),  // scripts see both 16-bit layouts as 16
      width_(0),
      height_(0),
      regX_(0),
      regY_(0),
      useAlpha_(false),
      matteAlphaThreshold_(1) {}

BitmapMember::~BitmapMember() { dropImage(); }

int32_t BitmapMember::sixteenBitCode() const { return cast().prefer565() ? -16 : 16; }

bool BitmapMember::load() {
  if (loaded()) return true;
  LoadFailure failure = LoadFailure::none;
  Value image = filename_.empty() ? loadFromMedia(failure) : loadFromFile();
  ImageBuffer* buffer = imageBufferOf(image);
  if (!buffer) {
    reportLoadFailure(failure);
    return false;
  }
  if (depth_ == 16 && buffer->depth() > 16) {
    Value narrowed = Value::adopt(ImageBuffer::create(buffer->width(), buffer->height(), sixteenBitCode()));
    ImageBuffer* target = imageBufferOf(narrowed);
    if (!target) return false;
    drawImage(*target, buffer, wholeImageCopy(*buffer));
    image = narrowed;
  }
  adoptImage(image);
  setLoaded(true);
  return true;
}

// The image blob, then the alpha blob that follows it; `failure` says why either did not load
// (it stays none when there was nothing to read).
Value BitmapMember::loadFromMedia(LoadFailure& failure) {
  const MediaFile& media = cast().media();
  auto decodeBlob = [&](int64_t offset, int32_t packed, int32_t unpacked, uint8_t format, DecodedImage& out) {
    if (offset > INT32_MAX) return LoadResult{LoadFailure::blobOutsideData};
    MemberBytes bytes = media.fetchMemberData(static_cast<int32_t>(offset), packed, unpacked);
    if (!bytes) return LoadResult{bytes.failure()};
    return decodeImageBlob(bytes.data(), bytes.size(), format, media.purge(), out);
  };
  DecodedImage decoded;
  LoadResult result = decodeBlob(offset_, packedSize_, unpackedSize_, storedFormat_, decoded);
  failure = result.failure;
  if (!result) return Value();
  Value image = Value::adopt(imageBufferFrom(decoded));
  if (alphaPackedSize_ == 0 || image.isVoid()) return image;

  // A missing or damaged alpha blob leaves the member unloaded.
  DecodedImage alpha;
  result = decodeBlob(int64_t(offset_) + packedSize_, alphaPackedSize_, alphaUnpackedSize_, kStoredBmp, alpha);
  failure = result.failure;
  if (!result) return Value();
  if (alpha.width != decoded.width || alpha.height != decoded.height) {
    failure = LoadFailure::alphaSizeDiffers;
    return Value();
  }
  Value mask = alphaMaskFrom(alpha);
  ImageBuffer* maskBuffer = imageBufferOf(mask);
  return maskBuffer ? withAlphaMerged(image, *maskBuffer) : Value();
}

Value BitmapMember::withAlphaMerged(Value decoded, const ImageBuffer& mask) const {
  ImageBuffer& source = *imageBufferOf(decoded);
  int32_t w = source.width(), h = source.height();
  if (depth_ == 32 && useAlpha_ && source.format() == PixelFormat::argb8888) {
    for (int32_t y = 0; y < h; ++y) {
      uint8_t* row = source.row(y);
      const uint8_t* alpha = mask.row(y);
      for (int32_t x = 0; x < w; ++x) row[4 * x + 3] = static_cast<uint8_t>(255 - alpha[x]);
    }
    return decoded;
  }
  BlitParams params = wholeImageCopy(source);
  params.mask = &mask;
  Value merged;
  if (depth_ == 32 && useAlpha_) {
    merged = Value::adopt(ImageBuffer::create(w, h, 32, 1));
    params.ink = ink::alphaFromMask;
  } else {
    // Masked pixels end up white.
    merged = Value::adopt(ImageBuffer::create(w, h, depth_ == 16 ? sixteenBitCode() : depth_));
    if (ImageBuffer* target = imageBufferOf(merged)) fillRect(*target, target->bounds(), 0xFFFFFF);
  }
  ImageBuffer* target = imageBufferOf(merged);
  if (!target) return Value();
  drawImage(*target, &source, params);
  return merged;
}

Value BitmapMember::loadFromFile() const {
  // No network download service is built: such names stay unloaded.
  if (nameContains(filename_, "http://")) return Value();
  uint8_t format;
  if (nameContains(filename_, ".bmp"))
    format = kStoredBmp;
  else if (nameContains(filename_, ".jpg") || nameContains(filename_, ".png") || nameContains(filename_, ".gif"))
    format = kStoredFileImage;
  else
    return Value();
  platform::MappedFile file(programRelativePath(filename_));
  DecodedImage decoded;
  if (!file.data() || !decodeImageBlob(file.data(), file.size(), format, cast().media().purge(), decoded))
    return Value();
  return Value::adopt(imageBufferFrom(decoded));
}

void BitmapMember::adoptImage(Value image) {
  dropImage();
  image_ = std::move(image);
  ImageBuffer* buffer = imageBufferOf(image_);
  buffer->setOwner(Value::share(this));
  buffer->setUseAlpha(useAlpha_);
  depth_ = buffer->depth();
  width_ = buffer->width();
  height_ = buffer->height();
}

// The image's owner reference points back here: it is cleared so neither keeps the other alive.
void BitmapMember::dropImage() {
  if (ImageBuffer* buffer = imageBufferOf(image_)) buffer->setOwner(Value());
  image_ = Value();
  matte_ = Value();
}

bool BitmapMember::unload(bool force) {
  if (!loaded() || keepsContent(force)) return true;
  dropImage();
  setLoaded(false);
  return true;
}

int32_t BitmapMember::sizeEstimate() const {
  int64_t estimate = 172;
  if (const ImageBuffer* buffer = image())
    estimate = int64_t(buffer->depth()) * buffer->width() * buffer->height() / 8 + 1336;
  if (!matte_.isVoid()) estimate += int64_t(width_) * height_ / 8 + 1164;
  return static_cast<int32_t>(std::min<int64_t>(estimate, INT32_MAX));
}

ImageBuffer* BitmapMember::matte() {
  // Making the matte may purge memory, which may unload this very member: the image is held
  // until the matte is done.
  Value image = image_;
  const ImageBuffer* buffer = imageBufferOf(image);
  if (!buffer) return nullptr;
  if (matte_.isVoid()) {
    Value made = Value::adopt(buildMatteMask(*buffer, matteAlphaThreshold_));
    if (!loaded()) return nullptr;
    matte_ = made;
  }
  return imageBufferOf(matte_);
}

void BitmapMember::imageChanged(const PixelRect&) {
  matte_ = Value();
  markModified();
}

void BitmapMember::drawInto(ImageBuffer& target, const BitmapDraw& look, BitmapMember* maskSource, bool useMatte) {
  Value image = image_;  // the matte below may purge memory and unload this member
  const ImageBuffer* buffer = imageBufferOf(image);
  if (!buffer) return;
  BlitParams params;
  params.destinationRect = look.destination;
  params.sourceRect = PixelRect{0, 0, width_, height_};
  params.ink = look.ink;
  params.blend = look.blend;
  params.foreColour = look.color;
  params.backColour = look.bgColor;
  Value maskHeld;
  if (maskSource) {
    maskSource->load();
    maskSource->touch();
    maskHeld = maskSource->image_;
    params.mask = imageBufferOf(maskHeld);
    params.maskOffsetH = regX_ - maskSource->regX_;
    params.maskOffsetV = regY_ - maskSource->regY_;
  } else if (useMatte) {
    params.mask = matte();
  }
  params.quad = look.quad;
  drawImage(target, buffer, params);
}

}  // namespace qn
