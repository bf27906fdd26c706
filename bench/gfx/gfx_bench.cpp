// Our drawImage beside pixman on the same pixels: each case runs as "ours" and "pixman".
// Compare the two times of a case (ours / pixman); the game's hot cases are the 5-6-5 copies
// and sprites.
#include <benchmark/benchmark.h>
#include <pixman.h>

#include <cmath>
#include <numbers>
#include <random>

#include "gfx/draw_image.h"
#include "gfx/image_buffer.h"
#include "gfx/pixel_access.h"

namespace qn {
namespace {

constexpr int32_t kStageWidth = 240, kStageHeight = 320, kSprite = 58;

struct Image {
  Value value;
  ImageBuffer& operator*() const { return *imageBufferOf(value); }
  ImageBuffer* get() const { return imageBufferOf(value); }
  ImageBuffer* operator->() const { return get(); }
};

Image makeImage(int32_t width, int32_t height, int32_t depthCode, int32_t alphaRequest = 0) {
  Image image{Value::adopt(ImageBuffer::create(width, height, depthCode, alphaRequest))};
  std::mt19937 random(static_cast<uint32_t>(width * 31 + height));
  uint8_t* bytes = image->storage();
  for (size_t i = 0; i < image->storageBytes(); ++i) bytes[i] = static_cast<uint8_t>(random());
  return image;
}

// A sprite of mostly opaque pixels with a soft edge band, like the game's balls.
Image makeAlphaSprite() {
  Image sprite = makeImage(kSprite, kSprite, 32, 1);
  for (int32_t y = 0; y < kSprite; ++y)
    for (int32_t x = 0; x < kSprite; ++x) {
      const double distance = std::hypot(x - kSprite / 2.0 + 0.5, y - kSprite / 2.0 + 0.5);
      const uint32_t alpha = distance < 26 ? 255 : distance < 29 ? static_cast<uint32_t>((29 - distance) * 85) : 0;
      const uint32_t pixel = readRawPixel(PixelFormat::argb8888, sprite->row(y), x) & 0xFFFFFF;
      writeRawPixel(PixelFormat::argb8888, sprite->row(y), x, (alpha << 24) | pixel);
    }
  return sprite;
}

// pixman's view of the same memory (rows top-down from the stored start; the order does not
// matter for timing).
pixman_image_t* pixmanOf(const Image& image, pixman_format_code_t format) {
  return pixman_image_create_bits(format, image->width(), image->height(),
                                  reinterpret_cast<uint32_t*>(image->storage()), image->stride());
}

pixman_format_code_t pixmanFormat(const ImageBuffer& image) {
  switch (image.format()) {
    case PixelFormat::rgb565: return PIXMAN_r5g6b5;
    case PixelFormat::rgb555: return PIXMAN_x1r5g5b5;
    case PixelFormat::indexed1: return PIXMAN_a1;
    case PixelFormat::indexed8: return PIXMAN_a8;
    default: return image.useAlpha() ? PIXMAN_a8r8g8b8 : PIXMAN_x8r8g8b8;
  }
}

struct Case {
  Image stage = makeImage(kStageWidth, kStageHeight, -16);
  Image source;
  Image mask;
  BlitParams params;
  pixman_op_t op = PIXMAN_OP_SRC;
  uint8_t constantAlpha = 0;  // pixman: a solid mask of this alpha when not 0
  bool transformed = false;
};

Case fullStageCopy(int32_t sourceDepth) {
  Case c;
  c.source = makeImage(kStageWidth, kStageHeight, sourceDepth);
  c.params.sourceRect = c.params.destinationRect = {0, 0, kStageWidth, kStageHeight};
  return c;
}

Case sprite58() {
  Case c;
  c.source = makeImage(kSprite, kSprite, 32);
  c.params.sourceRect = {0, 0, kSprite, kSprite};
  c.params.destinationRect = {91, 131, 91 + kSprite, 131 + kSprite};
  c.op = PIXMAN_OP_OVER;
  return c;
}

Case makeCase(int which) {
  switch (which) {
    case 0: return fullStageCopy(32);
    case 1: return fullStageCopy(-16);
    case 2: {
      Case c = sprite58();
      c.source = makeAlphaSprite();
      return c;
    }
    case 3: {
      Case c = sprite58();
      c.mask = makeImage(kSprite, kSprite, 1);
      c.params.ink = ink::matte;
      c.params.mask = c.mask.get();
      return c;
    }
    case 4: {
      Case c = sprite58();
      c.params.ink = ink::blend;
      c.params.blend = 128;
      c.constantAlpha = 128;
      return c;
    }
    case 5: {
      Case c = sprite58();
      c.params.destinationRect = {40, 60, 40 + 2 * kSprite, 60 + 2 * kSprite};
      c.op = PIXMAN_OP_SRC;
      c.transformed = true;
      return c;
    }
    case 7: {
      Case c = sprite58();
      c.source = makeAlphaSprite();
      c.params.destinationRect = {40, 60, 40 + 2 * kSprite, 60 + 2 * kSprite};
      c.transformed = true;
      return c;
    }
    default: {
      Case c = sprite58();
      c.source = makeAlphaSprite();
      for (int32_t y = 0; y < kSprite; ++y)  // fully opaque: the rotation shows only the quad
        for (int32_t x = 0; x < kSprite; ++x)
          writeRawPixel(PixelFormat::argb8888, c.source->row(y), x,
                        readRawPixel(PixelFormat::argb8888, c.source->row(y), x) | 0xFF000000u);
      const double angle = 30 * std::numbers::pi / 180, cx = 120, cy = 160, h = kSprite / 2.0;
      Quad quad;
      const double corners[4][2] = {{-h, -h}, {h, -h}, {h, h}, {-h, h}};
      for (int i = 0; i < 4; ++i) {
        quad.corners[i].x = static_cast<float>(cx + corners[i][0] * std::cos(angle) - corners[i][1] * std::sin(angle));
        quad.corners[i].y = static_cast<float>(cy + corners[i][0] * std::sin(angle) + corners[i][1] * std::cos(angle));
      }
      c.params.quad = quad;
      c.transformed = true;
      return c;
    }
  }
}

void ours(benchmark::State& state) {
  Case c = makeCase(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    drawImage(*c.stage, c.source.get(), c.params);
    benchmark::ClobberMemory();
  }
}

void pixman(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  Case c = makeCase(which);
  pixman_image_t* destination = pixmanOf(c.stage, PIXMAN_r5g6b5);
  pixman_image_t* source = pixmanOf(c.source, pixmanFormat(*c.source));
  pixman_image_t* mask = nullptr;
  if (c.mask.get()) mask = pixmanOf(c.mask, PIXMAN_a1);
  if (c.constantAlpha) {
    const pixman_color_t alpha = {0, 0, 0, static_cast<uint16_t>(c.constantAlpha * 257)};
    mask = pixman_image_create_solid_fill(&alpha);
  }
  PixelRect to = c.params.destinationRect;
  if (c.transformed) {
    pixman_transform_t transform;
    pixman_f_transform_t inverse;
    if (c.params.quad) {
      // Destination to source: undo the rotation about the stage centre, then move to the sprite.
      const double angle = -30 * std::numbers::pi / 180;
      pixman_f_transform_init_translate(&inverse, -120, -160);
      pixman_f_transform_rotate(&inverse, nullptr, std::cos(angle), std::sin(angle));
      pixman_f_transform_translate(&inverse, nullptr, kSprite / 2.0, kSprite / 2.0);
      to = {120 - 42, 160 - 42, 120 + 42, 160 + 42};
      pixman_f_transform_translate(nullptr, &inverse, to.left, to.top);
    } else {
      pixman_f_transform_init_scale(&inverse, 0.5, 0.5);
    }
    pixman_transform_from_pixman_f_transform(&transform, &inverse);
    pixman_image_set_transform(source, &transform);
    pixman_image_set_filter(source, PIXMAN_FILTER_NEAREST, nullptr, 0);
  }
  const int32_t sourceX = c.transformed ? 0 : c.params.sourceRect.left;
  const int32_t sourceY = c.transformed ? 0 : c.params.sourceRect.top;
  for (auto _ : state) {
    pixman_image_composite32(c.op, source, mask, destination, sourceX, sourceY, 0, 0, to.left, to.top, to.width(),
                             to.height());
    benchmark::ClobberMemory();
  }
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(source);
  pixman_image_unref(destination);
}

void caseNames(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgName("case");
  for (int i = 0; i <= 7; ++i) benchmark->Arg(i);
}

// 0 stage copy 32 -> 5-6-5, 1 stage copy 5-6-5 -> 5-6-5, 2 alpha sprite over 5-6-5,
// 3 1-bit masked (matte) sprite, 4 50 % blend, 5 2x nearest scale, 6 30-degree rotated quad,
// 7 alpha sprite over 5-6-5 at 2x nearest scale.
BENCHMARK(ours)->Apply(caseNames);
BENCHMARK(pixman)->Apply(caseNames);

}  // namespace
}  // namespace qn
