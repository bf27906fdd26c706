#include "cast/bitmap_member.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

#include "cast/bmp_decoder.h"
#include "cast/cast.h"
#include "cast/image_blob.h"
#include "cast/member_hold.h"
#include "cast/scaled_media_set.h"
#include "gfx/draw_image.h"
#include "gfx/matte_mask.h"
#include "gfx/shape_drawing.h"
#include "gfx/smooth_upscale.h"
#include "platform/mapped_file.h"
#include "script/report_error.h"

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

// The image drawn with copy ink into a new one of `depthCode`; void when memory is short.
Value convertedTo(const Value& image, int32_t depthCode) {
  const ImageBuffer& source = *imageBufferOf(image);
  Value converted = Value::adopt(ImageBuffer::create(source.width(), source.height(), depthCode));
  ImageBuffer* target = imageBufferOf(converted);
  if (!target) return Value();
  drawImage(*target, &source, wholeImageCopy(source));
  return converted;
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
      blobs_{row.offset, row.packedSize, row.unpackedSize, row.alphaPackedSize, row.alphaUnpackedSize,
             row.storedFormat} {}

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
  Value image = filename_.empty() ? decodeBlobs(cast().media(), blobs_, failure) : loadFromFile();
  ImageBuffer* buffer = imageBufferOf(image);
  if (!buffer) {
    reportLoadFailure(failure);
    return false;
  }
  if (depth_ == 16 && buffer->depth() > 16) image = convertedTo(image, sixteenBitCode());
  if (image.isVoid()) return false;
  adoptImage(image);
  setLoaded(true);
  cast().keepWithinBudget(*this);
  return true;
}

// The image blob, then the alpha blob that follows it; `failure` says why either did not load
// (it stays none when there was nothing to read).
Value BitmapMember::decodeBlobs(const MediaFile& media, const BitmapBlobs& blobs, LoadFailure& failure) const {
  auto decodeBlob = [&](int64_t offset, int32_t packed, int32_t unpacked, uint8_t format, DecodedImage& out) {
    if (offset > INT32_MAX) return LoadResult{LoadFailure::blobOutsideData};
    MemberBytes bytes = media.fetchMemberData(static_cast<int32_t>(offset), packed, unpacked);
    if (!bytes) return LoadResult{bytes.failure()};
    return decodeImageBlob(bytes.data(), bytes.size(), format, media.purge(), out);
  };
  DecodedImage decoded;
  LoadResult result = decodeBlob(blobs.offset, blobs.packedSize, blobs.unpackedSize, blobs.storedFormat, decoded);
  failure = result.failure;
  if (!result) return Value();
  Value image = Value::adopt(imageBufferFrom(decoded));
  if (blobs.alphaPackedSize == 0 || image.isVoid()) return image;

  // A missing or damaged alpha blob leaves the member unloaded.
  DecodedImage alpha;
  result = decodeBlob(int64_t(blobs.offset) + blobs.packedSize, blobs.alphaPackedSize, blobs.alphaUnpackedSize,
                      kStoredBmp, alpha);
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
  dropScaledPicture();
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
  if (const ImageBuffer* picture = imageBufferOf(picture_))
    estimate += int64_t(picture->depth()) * picture->width() * picture->height() / 8 + 1336;
  if (const ImageBuffer* matte = imageBufferOf(pictureMatte_))
    estimate += int64_t(matte->width()) * matte->height() / 8 + 1164;
  if (const ImageBuffer* copy = imageBufferOf(pictureForCopy_))
    estimate += int64_t(copy->width()) * copy->height() * 2 + 1336;
  return static_cast<int32_t>(std::min<int64_t>(estimate, INT32_MAX));
}

ImageBuffer* BitmapMember::matte() {
  const ImageBuffer* buffer = image();
  if (!buffer) return nullptr;
  if (matte_.isVoid()) {
    const MemberHold hold(*this);
    matte_ = Value::adopt(buildMatteMask(*buffer, matteAlphaThreshold_));
  }
  return imageBufferOf(matte_);
}

ImageBuffer* BitmapMember::pictureAt(int32_t scale) {
  scale = std::clamp(scale, 1, kLargestPresentationScale);
  const ImageBuffer* buffer = image();
  if (!buffer || scale == 1) return image();
  touch();
  if (pictureScale_ != scale || pictureGeneration_ != cast().pictureGeneration()) dropScaledPicture();
  if (picture_.isVoid()) {
    const MemberHold hold(*this);
    const ScaledMediaSet* set = cast().scaledMedia(scale);  // looked for once; attaching one drops pictures
    Value made = pictureFromSet(set, scale, *buffer);
    if (made.isVoid()) made = Value::adopt(upscaleSmoothly(*buffer, scale));
    if (made.isVoid()) return nullptr;
    picture_ = made;
    pictureScale_ = scale;
    pictureGeneration_ = cast().pictureGeneration();
    cast().keepWithinBudget(*this);
  }
  return imageBufferOf(picture_);
}

ImageBuffer* BitmapMember::matteAt(int32_t scale) {
  if (scale <= 1) return matte();
  const ImageBuffer* picture = pictureAt(scale);
  if (!picture) return nullptr;
  if (pictureMatte_.isVoid()) {
    const MemberHold hold(*this);
    pictureMatte_ = Value::adopt(buildMatteMask(*picture, matteAlphaThreshold_));
  }
  return imageBufferOf(pictureMatte_);
}

ImageBuffer* BitmapMember::pictureForCopyAt(int32_t scale, PixelFormat format) {
  ImageBuffer* picture = pictureAt(scale);
  const bool converts = picture && scale > 1 && isSixteenBit(format) &&
                        (picture->format() == PixelFormat::rgb888 ||
                         (picture->format() == PixelFormat::argb8888 && !picture->useAlpha()));
  if (!converts) return picture;
  if (ImageBuffer* copy = imageBufferOf(pictureForCopy_); copy && copy->format() == format) return copy;
  const MemberHold hold(*this);
  Value made = Value::adopt(
      ImageBuffer::create(picture->width(), picture->height(), format == PixelFormat::rgb565 ? -16 : 16));
  ImageBuffer* copy = imageBufferOf(made);
  if (!copy) return picture;
  drawImage(*copy, picture, wholeImageCopy(*picture));
  pictureForCopy_ = made;
  cast().keepWithinBudget(*this);
  return imageBufferOf(pictureForCopy_);
}

void BitmapMember::dropScaledPicture() {
  picture_ = Value();
  pictureMatte_ = Value();
  pictureForCopy_ = Value();
}

Value BitmapMember::pictureReadyFrom(const ScaledMediaSet& set) {
  const ImageBuffer* buffer = image();
  if (!buffer) return Value();
  const MemberHold hold(*this);
  return pictureFromSet(&set, set.scale(), *buffer);
}

void BitmapMember::takeScaledPicture(int32_t scale, Value picture) {
  const ImageBuffer* made = imageBufferOf(picture);
  if (!loaded() || !showsMediaPicture() || !made || made->width() != scale * width_ || made->height() != scale * height_)
    return;
  dropScaledPicture();
  picture_ = std::move(picture);
  pictureScale_ = scale;
  pictureGeneration_ = cast().pictureGeneration();
  cast().keepWithinBudget(*this);
}

Value BitmapMember::pictureFromSet(const ScaledMediaSet* set, int32_t scale, const ImageBuffer& image) {
  if (!showsMediaPicture()) return Value();
  const ScaledPicture* entry = set ? set->find(key()) : nullptr;
  if (!entry) return Value();
  LoadFailure failure = LoadFailure::none;
  Value picture = decodeBlobs(set->media(), entry->blobs, failure);
  const ImageBuffer* decoded = imageBufferOf(picture);
  if (decoded && (decoded->width() != scale * image.width() || decoded->height() != scale * image.height())) {
    failure = LoadFailure::pictureSizeDiffers;
    picture = Value();
  } else if (decoded && decoded->format() != image.format() && !isIndexed(image.format())) {
    picture = convertedTo(picture, image.depthCode());
  }
  if (ImageBuffer* made = imageBufferOf(picture)) {
    made->setUseAlpha(useAlpha_);
    return picture;
  }
  if (isDamage(failure) && !setFailureReported_) {
    setFailureReported_ = true;
    reportError("member " + std::to_string(number()) + " of castLib " + std::to_string(castLib()) + " (\"" + name() +
                "\") at " + std::to_string(scale) + "x: " + std::string(describe(failure)) +
                "; its picture is enlarged smoothly instead");
  }
  return Value();
}

std::string BitmapMember::scaledPictureProblem(const ScaledPicture& picture, int32_t scale) const {
  if (!showsMediaPicture() || (picture.width == scale * width_ && picture.height == scale * height_)) return "";
  return "member " + std::to_string(number()) + " of castLib " + std::to_string(castLib()) + " is " +
         std::to_string(picture.width) + " x " + std::to_string(picture.height) + ", not " + std::to_string(scale) +
         " times " + std::to_string(width_) + " x " + std::to_string(height_);
}

void BitmapMember::imageChanged(const PixelRect&) {
  matte_ = Value();
  dropScaledPicture();
  markModified();
}

void BitmapMember::drawInto(ImageBuffer& target, const BitmapDraw& look, BitmapMember* maskSource, bool useMatte) {
  // Making pictures and masks may purge memory: neither member may go meanwhile.
  const MemberHold hold(*this);
  std::optional<MemberHold> maskHold;
  if (maskSource) {
    maskHold.emplace(*maskSource);
    maskSource->load();
    maskSource->touch();
  }
  // A picture of one pixel is one colour at any scale: drawn from itself, a stretched draw takes
  // the one-pixel fast path (the set-up shade covers the stage with one).
  const int32_t scale = width_ == 1 && height_ == 1 ? 1 : std::clamp(look.scale, 1, kLargestPresentationScale);
  const bool plainCopy = !maskSource && !useMatte && look.ink == ink::copy && look.blend == 255 &&
                         (look.color & kColourBits) == 0 && (look.bgColor & kColourBits) == 0xFFFFFF;
  // Draws from the pictures of `pictureScale` onto the destination (which is at the look's scale);
  // false when a finer picture or mask it needs could not be made.
  auto drawFrom = [&](int32_t pictureScale) {
    ImageBuffer* picture = plainCopy ? pictureForCopyAt(pictureScale, target.format()) : pictureAt(pictureScale);
    if (!picture) return false;
    BlitParams params;
    params.destinationRect = look.destination;
    params.sourceRect = PixelRect{0, 0, width_ * pictureScale, height_ * pictureScale};
    params.ink = look.ink;
    params.blend = look.blend;
    params.foreColour = look.color;
    params.backColour = look.bgColor;
    if (maskSource) {
      params.mask = maskSource->pictureAt(pictureScale);
      if (!params.mask && pictureScale > 1 && maskSource->image()) return false;
      params.maskOffsetH = (regX_ - maskSource->regX_) * pictureScale;
      params.maskOffsetV = (regY_ - maskSource->regY_) * pictureScale;
    } else if (useMatte) {
      params.mask = matteAt(pictureScale);
      if (!params.mask && pictureScale > 1) return false;
    }
    params.quad = look.quad;
    drawImage(target, picture, params);
    return true;
  };
  // Where memory is too short for a finer picture, the image itself is enlarged by the draw.
  if (!drawFrom(scale) && scale > 1) drawFrom(1);
}

}  // namespace qn
