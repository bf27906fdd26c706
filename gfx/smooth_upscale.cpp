#include "gfx/smooth_upscale.h"

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "gfx/pixel_access.h"

namespace qn {

namespace {

// Where an enlarged column (or row) samples: the two source pixels it mixes and the weight of
// the second, out of 2 * factor.
struct Tap {
  int32_t first, second, weight;
};

std::vector<Tap> tapsFor(int32_t size, int32_t factor) {
  const int32_t unit = 2 * factor;
  std::vector<Tap> taps(static_cast<size_t>(size) * static_cast<size_t>(factor));
  for (int32_t out = 0; out < size * factor; ++out) {
    // The centre of enlarged pixel `out` lies (out + 1/2) / factor - 1/2 source pixels in; in
    // units of 1 / unit that is `position`, split into a whole pixel and the weight past it.
    const int32_t position = 2 * out + 1 - factor;
    const int32_t first = position >= 0 ? position / unit : -((unit - 1 - position) / unit);
    taps[out] = {std::clamp(first, 0, size - 1), std::clamp(first + 1, 0, size - 1), position - first * unit};
  }
  return taps;
}

// The four source colours of an enlarged pixel and their weights, which add up to `total`.
struct Samples {
  std::array<uint32_t, 4> colour;
  std::array<uint32_t, 4> weight;
  uint32_t total;
};

uint32_t channelOf(uint32_t colour, int channel) { return (colour >> (8 * channel)) & 0xFF; }

// Colour weighted by alpha, so a transparent neighbour lends none; alpha itself by weight alone.
uint32_t mixPremultiplied(const Samples& s) {
  uint32_t alpha = 0;
  std::array<uint32_t, 3> sums{};
  for (size_t i = 0; i < 4; ++i) {
    const uint32_t weighted = s.weight[i] * alphaOf(s.colour[i]);
    alpha += weighted;
    for (int channel = 0; channel < 3; ++channel) sums[channel] += weighted * channelOf(s.colour[i], channel);
  }
  if (alpha == 0) return 0;
  uint32_t mixed = ((alpha + s.total / 2) / s.total) << 24;
  for (int channel = 0; channel < 3; ++channel) mixed |= ((sums[channel] + alpha / 2) / alpha) << (8 * channel);
  return mixed;
}

// White when white pixels carry at least half the weight; otherwise the mix of the others.
uint32_t mixAroundWhite(const Samples& s) {
  uint32_t weight = 0;
  std::array<uint32_t, 4> sums{};
  for (size_t i = 0; i < 4; ++i) {
    if ((s.colour[i] & kColourBits) == kColourBits) continue;
    weight += s.weight[i];
    for (int channel = 0; channel < 4; ++channel) sums[channel] += s.weight[i] * channelOf(s.colour[i], channel);
  }
  if (2 * weight <= s.total) return 0xFFFFFFFFu;
  uint32_t mixed = 0;
  for (int channel = 0; channel < 4; ++channel) mixed |= ((sums[channel] + weight / 2) / weight) << (8 * channel);
  return mixed;
}

template <PixelFormat F>
bool storesWhite(uint32_t raw) {
  return (widenRaw<F>(raw, nullptr) & kColourBits) == kColourBits;
}

// The palest colour the format does not store as white (16 bits keep only the top 5 or 6 bits).
template <PixelFormat F>
constexpr uint32_t kPalestNotWhite = isSixteenBit(F) ? 0xF7F7F7u : 0xFEFEFEu;

template <PixelFormat F>
void enlargeMixing(const ImageBuffer& image, ImageBuffer& out, int32_t factor) {
  const int32_t width = image.width();
  std::vector<uint32_t> colours(static_cast<size_t>(width) * static_cast<size_t>(image.height()));
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < width; ++x) colours[static_cast<size_t>(y) * width + x] = readPixel<F>(image.row(y), x, nullptr);
  const std::vector<Tap> columns = tapsFor(width, factor), rows = tapsFor(image.height(), factor);
  const uint32_t unit = static_cast<uint32_t>(2 * factor);
  const bool premultiplied = image.useAlpha();
  for (int32_t y = 0; y < out.height(); ++y) {
    const Tap& row = rows[y];
    const uint32_t* upper = &colours[static_cast<size_t>(row.first) * width];
    const uint32_t* lower = &colours[static_cast<size_t>(row.second) * width];
    const uint32_t below = static_cast<uint32_t>(row.weight), above = unit - below;
    uint8_t* target = out.row(y);
    for (int32_t x = 0; x < out.width(); ++x) {
      const Tap& column = columns[x];
      const uint32_t right = static_cast<uint32_t>(column.weight), left = unit - right;
      const Samples samples{{upper[column.first], upper[column.second], lower[column.first], lower[column.second]},
                            {left * above, right * above, left * below, right * below},
                            unit * unit};
      const uint32_t colour = premultiplied ? mixPremultiplied(samples) : mixAroundWhite(samples);
      uint32_t raw = narrowColour<F>(colour, nullptr);
      if (!premultiplied && (colour & kColourBits) != kColourBits && storesWhite<F>(raw))
        raw = narrowColour<F>((colour & ~kColourBits) | kPalestNotWhite<F>, nullptr);
      writeRaw<F>(target, x, raw);
    }
  }
}

template <PixelFormat F>
void enlarge(const ImageBuffer& image, ImageBuffer& out, int32_t factor) {
  if constexpr (isIndexed(F)) {
    for (int32_t y = 0; y < out.height(); ++y) {
      const uint8_t* source = image.row(y / factor);
      uint8_t* target = out.row(y);
      for (int32_t x = 0; x < out.width(); ++x) writeRaw<F>(target, x, rawPixel<F>(source, x / factor));
    }
  } else {
    enlargeMixing<F>(image, out, factor);
  }
}

using Enlarger = void (*)(const ImageBuffer&, ImageBuffer&, int32_t);
template <size_t... I>
constexpr auto makeEnlargers(std::index_sequence<I...>) {
  return std::array<Enlarger, kPixelFormatCount>{&enlarge<static_cast<PixelFormat>(I)>...};
}
constexpr auto kEnlargers = makeEnlargers(std::make_index_sequence<kPixelFormatCount>());

}  // namespace

ImageBuffer* upscaleSmoothly(const ImageBuffer& image, int32_t factor) {
  const int64_t width = int64_t{image.width()} * factor, height = int64_t{image.height()} * factor;
  if (factor < 1 || width > INT32_MAX || height > INT32_MAX) return nullptr;
  ImageBuffer* out = ImageBuffer::create(static_cast<int32_t>(width), static_cast<int32_t>(height), image.depthCode(),
                                         image.alphaRequest(), image.paletteId());
  if (!out) return nullptr;
  if (image.palette()) out->setPalette(*image.palette());
  out->setUseAlpha(image.useAlpha());
  if (image.hasPixels() && out->hasPixels()) kEnlargers[static_cast<size_t>(image.format())](image, *out, factor);
  return out;
}

}  // namespace qn
