#include "tools/artgen/png_writer.h"

#include <zlib.h>

#include <array>
#include <cstdio>
#include <cstdlib>

namespace qn::artgen {
namespace {

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  const size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  const uLong crc = crc32(0, out.data() + typeAt, static_cast<uInt>(4 + data.size()));
  putBigEndian(out, static_cast<uint32_t>(crc));
}

uint8_t paeth(int left, int up, int upLeft) {
  const int estimate = left + up - upLeft;
  const int toLeft = std::abs(estimate - left), toUp = std::abs(estimate - up),
            toUpLeft = std::abs(estimate - upLeft);
  if (toLeft <= toUp && toLeft <= toUpLeft) return static_cast<uint8_t>(left);
  return static_cast<uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// Filters one row with the five PNG filters and keeps the one with the smallest residual sum.
void filterRow(const uint8_t* row, const uint8_t* previous, size_t length, std::vector<uint8_t>& out) {
  constexpr int kBytesPerPixel = 4;
  std::array<std::vector<uint8_t>, 5> candidates;
  long bestCost = -1;
  int best = 0;
  for (int filter = 0; filter < 5; ++filter) {
    auto& residual = candidates[filter];
    residual.resize(length);
    long cost = 0;
    for (size_t i = 0; i < length; ++i) {
      const int left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
      const int up = previous ? previous[i] : 0;
      const int upLeft = previous && i >= kBytesPerPixel ? previous[i - kBytesPerPixel] : 0;
      int predicted = 0;
      switch (filter) {
        case 1: predicted = left; break;
        case 2: predicted = up; break;
        case 3: predicted = (left + up) / 2; break;
        case 4: predicted = paeth(left, up, upLeft); break;
        default: break;
      }
      residual[i] = static_cast<uint8_t>(row[i] - predicted);
      cost += residual[i] < 128 ? residual[i] : 256 - residual[i];
    }
    if (bestCost < 0 || cost < bestCost) {
      bestCost = cost;
      best = filter;
    }
  }
  out.push_back(static_cast<uint8_t>(best));
  out.insert(out.end(), candidates[best].begin(), candidates[best].end());
}

}  // namespace

std::vector<uint8_t> encodePng(const std::vector<uint8_t>& rgba, int width, int height, int level) {
  const size_t stride = static_cast<size_t>(width) * 4;
  std::vector<uint8_t> filtered;
  filtered.reserve((stride + 1) * height);
  for (int y = 0; y < height; ++y) {
    filterRow(rgba.data() + y * stride, y ? rgba.data() + (y - 1) * stride : nullptr, stride, filtered);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(filtered.size()));
  std::vector<uint8_t> packed(packedSize);
  compress2(packed.data(), &packedSize, filtered.data(), static_cast<uLong>(filtered.size()), level);
  packed.resize(packedSize);

  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  putBigEndian(header, static_cast<uint32_t>(width));
  putBigEndian(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, adaptive, no interlace
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", packed);
  putChunk(png, "IEND", {});
  return png;
}

bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace qn::artgen
