// Every fast path must give the bytes the general path gives. Each combination of source format,
// destination format, ink and mask is drawn with random pixels, rects (one source pixel among
// them, and quads turned any way), scales, blends and colours twice, once with the fast paths
// and once forced through the general path.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "gfx/draw_image.h"
#include "gfx/fast_paths.h"
#include "tests/gfx/image_test_support.h"

namespace qn {
namespace {

using test::TestImage;

// 256 distinct colours, each alone in its 5-5-5 cell, so that a colour names exactly one index
// in both directions (palettes with several colours per cell legitimately differ between a byte
// copy and a trip through the working colour).
const Palette& oneColourPerCellPalette() {
  std::vector<uint32_t> colours;
  for (uint32_t i = 0; i < 256; ++i) {
    const uint32_t cell = (i * 8191u + 17u) & 0x7FFF;
    colours.push_back(packArgb(255, ((cell >> 10) & 31) * 8 + 5, ((cell >> 5) & 31) * 8 + 2, (cell & 31) * 8 + 7));
  }
  return PaletteTable::intern(colours);
}

// The 0xRRGGBB colour of a raw pixel value of an image.
uint32_t colourOf(const ImageBuffer& image, uint32_t raw) {
  switch (image.format()) {
    case PixelFormat::indexed8: return image.palette()->colour(raw) & 0xFFFFFF;
    case PixelFormat::rgb555: return widen555(raw) & 0xFFFFFF;
    case PixelFormat::rgb565: return widen565(raw) & 0xFFFFFF;
    default: return raw & 0xFFFFFF;
  }
}

struct Format {
  int32_t depthCode;
  int32_t alphaRequest;
};

TestImage makeImage(int32_t width, int32_t height, Format format, std::mt19937& random) {
  TestImage image(width, height, format.depthCode, format.alphaRequest);
  if (format.depthCode == 8) image->setPalette(oneColourPerCellPalette());
  image.randomize(random);
  return image;
}

PixelRect randomRect(std::mt19937& random, int32_t limitWidth, int32_t limitHeight, int32_t width, int32_t height) {
  const int32_t left = static_cast<int32_t>(random() % (limitWidth + 6)) - 3;
  const int32_t top = static_cast<int32_t>(random() % (limitHeight + 6)) - 3;
  return {left, top, left + width, top + height};
}

TEST(FastPaths, GiveTheGeneralPathsBytes) {
  std::mt19937 random(12345);
  const std::vector<Format> sources = {{8, 0}, {16, 0}, {-16, 0}, {24, 0}, {32, 0}, {32, 1}};
  const std::vector<Format> destinations = {{8, 0}, {16, 0}, {-16, 0}, {24, 0}, {32, 0}};
  const std::vector<int32_t> inks = {ink::copy, ink::matte, ink::mask, ink::backgroundTransparent, ink::coverage,
                                     ink::maskThreshold, ink::alphaFromMask, ink::blend, ink::darkest};
  int drawsCompared = 0;
  for (const Format from : sources)
    for (const Format to : destinations)
      for (const int32_t inkNumber : inks)
        for (const int32_t maskDepth : {0, 1, 8})
          for (int repeat = 0; repeat < 24; ++repeat) {
            const int32_t width = 3 + static_cast<int32_t>(random() % 30);
            const int32_t height = 1 + static_cast<int32_t>(random() % 6);
            TestImage source = makeImage(width, height, from, random);
            TestImage mask = maskDepth ? makeImage(width, height, {maskDepth, 0}, random) : TestImage(nullptr);
            if (maskDepth == 8)  // make the decisive values 0 and 255 common
              for (int32_t y = 0; y < height; ++y)
                for (int32_t x = 0; x < width; ++x)
                  if (random() % 3) mask.set(x, y, random() % 2 ? 0 : 255);
            TestImage fast = makeImage(40, 10, to, random);
            TestImage general(fast->duplicateRect(fast->bounds()));
            // Some source pixels of the transparent colour.
            const uint32_t transparentRaw = source.at(0, 0);
            for (int32_t x = 0; x < width; x += 2) source.set(x, height - 1, transparentRaw);

            BlitParams params;
            params.ink = inkNumber;
            params.blend = repeat % 4 == 3 ? static_cast<int32_t>(random() % 256) : 255;
            params.mask = mask.get();
            params.maskOffsetH = static_cast<int32_t>(random() % 3) - 1;
            params.maskOffsetV = static_cast<int32_t>(random() % 3) - 1;
            params.sourceRect = {0, 0, width, height};
            if (repeat % 5 == 2) params.sourceRect = {1, 0, width - 1, height};
            if (repeat % 8 == 7) params.sourceRect = {1, 0, 2, 1};  // one pixel, stretched
            // Unscaled; stretched across and squeezed down; or exactly doubled both ways.
            const bool scaled = repeat % 3 == 1, doubled = scaled && repeat % 2 == 0;
            const int32_t sourceWidth = params.sourceRect.width(), sourceHeight = params.sourceRect.height();
            params.destinationRect =
                doubled ? randomRect(random, 40, 10, 2 * sourceWidth, 2 * sourceHeight)
                        : randomRect(random, 40, 10, sourceWidth * (scaled ? 3 : 2) / 2,
                                     std::max(sourceHeight / (scaled ? 2 : 1), 1));
            if (repeat % 8 == 7) params.destinationRect = randomRect(random, 40, 10, 12, 5);
            if (repeat % 6 == 4) {  // through a quad: the rect turned about its centre
              const float angle = static_cast<float>(random() % 628) / 100.0f;
              const float cx = (params.destinationRect.left + params.destinationRect.right) / 2.0f;
              const float cy = (params.destinationRect.top + params.destinationRect.bottom) / 2.0f;
              Quad quad = Quad::fromRect({params.destinationRect.left, params.destinationRect.top,
                                          params.destinationRect.right, params.destinationRect.bottom});
              for (FloatPoint& corner : quad.corners) {
                const float x = corner.x - cx, y = corner.y - cy;
                corner = {cx + x * std::cos(angle) - y * std::sin(angle), cy + x * std::sin(angle) + y * std::cos(angle)};
              }
              params.quad = quad;
            }
            // Background colour: white, the colour of the repeated source pixel (so both branches of
            // backgroundTransparent run), or random. Foreground mostly black, so copy stays copy.
            const uint32_t choice = random() % 4;
            params.backColour = choice < 2 ? 0xFFFFFF : choice == 2 ? colourOf(*source, transparentRaw) : random();
            if (inkNumber == ink::maskThreshold) params.backColour = random() & 0xFF;
            params.foreColour = random() % 4 ? 0 : random() & 0xFFFFFF;
            if (random() % 4 == 0) fast->setClipRect(randomRect(random, 40, 10, 20, 8));
            general->setClipRect(fast->clipRect());

            drawImage(*fast, source.get(), params);
            setFastPathsEnabled(false);
            drawImage(*general, source.get(), params);
            setFastPathsEnabled(true);
            ASSERT_EQ(std::memcmp(fast->storage(), general->storage(), fast->storageBytes()), 0)
                << "source " << from.depthCode << "/" << from.alphaRequest << " destination " << to.depthCode
                << " ink " << inkNumber << " mask " << maskDepth << " blend " << params.blend;
            ++drawsCompared;
          }
  EXPECT_GT(drawsCompared, 10000);
}

}  // namespace
}  // namespace qn
