#include "gfx/pixel_access.h"

#include <array>
#include <utility>

namespace qn {

namespace {

template <size_t... I>
constexpr auto makeReaders(std::index_sequence<I...>) {
  using Reader = uint32_t (*)(const uint8_t*, int64_t);
  return std::array<Reader, kPixelFormatCount>{&rawPixel<static_cast<PixelFormat>(I)>...};
}
template <size_t... I>
constexpr auto makeWriters(std::index_sequence<I...>) {
  using Writer = void (*)(uint8_t*, int64_t, uint32_t);
  return std::array<Writer, kPixelFormatCount>{&writeRaw<static_cast<PixelFormat>(I)>...};
}
constexpr auto kReaders = makeReaders(std::make_index_sequence<kPixelFormatCount>());
constexpr auto kWriters = makeWriters(std::make_index_sequence<kPixelFormatCount>());

}  // namespace

uint32_t readRawPixel(PixelFormat format, const uint8_t* row, int64_t x) {
  return kReaders[static_cast<int>(format)](row, x);
}

void writeRawPixel(PixelFormat format, uint8_t* row, int64_t x, uint32_t raw) {
  kWriters[static_cast<int>(format)](row, x, raw);
}

}  // namespace qn
