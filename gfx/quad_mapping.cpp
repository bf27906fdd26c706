// The quad rasterizer. Corners become 16.16 fixed point with texture coordinates: top-left takes
// (source left, source top), top-right (right, top), bottom-right (right, bottom), bottom-left
// (left, bottom). The polygon is walked from its topmost vertex down both sides of the vertex
// ring (top-left, bottom-left, bottom-right, top-right); each edge covers the rows from ceil(y
// start) to ceil(y end) - 1. Along a row u and v are interpolated linearly (no perspective).
#include "gfx/quad_mapping.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "gfx/fast_paths.h"
#include "gfx/pixel_access.h"
#include "platform/screen_point.h"

namespace qn {

namespace {

constexpr int64_t kOne = 65536;

struct Vertex {
  int64_t x, y, u, v;  // 16.16
};

int64_t ceilToRow(int64_t fixed) { return (fixed + kOne - 1) >> 16; }

// One side of the polygon between two vertices, stepped one row at a time.
struct Edge {
  int64_t x = 0, u = 0, v = 0;
  int64_t dx = 0, du = 0, dv = 0;  // per row
  int64_t endRow = 0;              // first row past the edge

  // Starts the edge at its first row; false when it covers no row.
  bool start(const Vertex& a, const Vertex& b) {
    const int64_t firstRow = ceilToRow(a.y);
    endRow = ceilToRow(b.y);
    if (endRow <= firstRow) return false;
    const double height = static_cast<double>(b.y - a.y);
    const double prestep = static_cast<double>(firstRow * kOne - a.y);
    auto slope = [&](int64_t from, int64_t to) { return static_cast<int64_t>(std::floor((to - from) * kOne / height)); };
    dx = slope(a.x, b.x);
    du = slope(a.u, b.u);
    dv = slope(a.v, b.v);
    x = a.x + static_cast<int64_t>(std::floor(dx * prestep / kOne));
    u = a.u + static_cast<int64_t>(std::floor(du * prestep / kOne));
    v = a.v + static_cast<int64_t>(std::floor(dv * prestep / kOne));
    return true;
  }
  void step() {
    x += dx;
    u += du;
    v += dv;
  }
};

// Walks one chain of the ring from the top vertex towards the bottom one.
class Chain {
 public:
  Chain(const std::array<Vertex, 4>& ring, int top, int bottom, int direction)
      : ring_(ring), at_(top), bottom_(bottom), direction_(direction) {}

  // Makes the edge cover `row`; false when the chain has reached the bottom vertex. Rows are asked
  // for in order from the top vertex's row, so a new edge always starts at or above `row`.
  bool cover(int64_t row) {
    while (!active_ || row >= edge_.endRow) {
      if (at_ == bottom_) return false;
      const int next = (at_ + direction_ + 4) % 4;
      active_ = edge_.start(ring_[at_], ring_[next]);
      at_ = next;
    }
    return true;
  }
  Edge& edge() { return edge_; }

 private:
  const std::array<Vertex, 4>& ring_;
  int at_;
  int bottom_;
  int direction_;
  Edge edge_;
  bool active_ = false;
};

template <PixelFormat F>
void sampleSpan(const ImageBuffer& source, int64_t u, int64_t v, int64_t du, int64_t dv, int32_t count,
                const PixelRect& within, const uint32_t* lookup, uint32_t* colours, uint8_t* raw, int32_t* columns,
                int32_t* rows) {
  for (int32_t i = 0; i < count; ++i, u += du, v += dv) {
    const int32_t x = std::clamp(static_cast<int32_t>(u >> 16), within.left, within.right - 1);
    const int32_t y = std::clamp(static_cast<int32_t>(v >> 16), within.top, within.bottom - 1);
    const uint32_t value = rawPixel<F>(source.row(y), x);
    if constexpr (isIndexed(F)) raw[i] = static_cast<uint8_t>(value);
    colours[i] = widenRaw<F>(value, lookup);
    columns[i] = x;
    rows[i] = y;
  }
}

// The raw source pixels of a span in order, for a fast path to take as an unscaled row (sources
// of `Bytes` bytes a pixel).
template <size_t Bytes>
void gatherSpan(const ImageBuffer& source, int64_t u, int64_t v, int64_t du, int64_t dv, int32_t count,
                const PixelRect& within, uint8_t* gathered) {
  for (int32_t i = 0; i < count; ++i, u += du, v += dv) {
    const int32_t x = std::clamp(static_cast<int32_t>(u >> 16), within.left, within.right - 1);
    const int32_t y = std::clamp(static_cast<int32_t>(v >> 16), within.top, within.bottom - 1);
    std::memcpy(gathered + static_cast<size_t>(i) * Bytes, source.row(y) + static_cast<size_t>(x) * Bytes, Bytes);
  }
}

// The source column and row each pixel of a span samples.
void sourcePlaces(int64_t u, int64_t v, int64_t du, int64_t dv, int32_t count, const PixelRect& within,
                  int32_t* columns, int32_t* rows) {
  for (int32_t i = 0; i < count; ++i, u += du, v += dv) {
    columns[i] = std::clamp(static_cast<int32_t>(u >> 16), within.left, within.right - 1);
    rows[i] = std::clamp(static_cast<int32_t>(v >> 16), within.top, within.bottom - 1);
  }
}

using SpanGatherer = void (*)(const ImageBuffer&, int64_t, int64_t, int64_t, int64_t, int32_t, const PixelRect&,
                              uint8_t*);
constexpr std::array<SpanGatherer, 4> kSpanGatherers = {&gatherSpan<1>, &gatherSpan<2>, &gatherSpan<3>,
                                                        &gatherSpan<4>};

using SpanSampler = void (*)(const ImageBuffer&, int64_t, int64_t, int64_t, int64_t, int32_t, const PixelRect&,
                             const uint32_t*, uint32_t*, uint8_t*, int32_t*, int32_t*);
template <size_t... I>
constexpr std::array<SpanSampler, kPixelFormatCount> makeSpanSamplers(std::index_sequence<I...>) {
  return {&sampleSpan<static_cast<PixelFormat>(I)>...};
}
constexpr auto kSpanSamplers = makeSpanSamplers(std::make_index_sequence<kPixelFormatCount>());

int64_t toFixed(float value) { return static_cast<int64_t>(std::floor(static_cast<double>(value) * kOne)); }

// Quads with a corner farther out are not drawn: the bound keeps the 16.16 edge arithmetic well
// inside 64 bits. A million pixels times the largest presentation scale, so that a quad with its
// corners within a million pixels at 1x is drawn at every scale.
constexpr float kFarthestCorner = 1e6f * platform::kLargestPresentationScale;

}  // namespace

void drawQuad(ImageBuffer& destination, const ImageBuffer& source, const ImageBuffer* mask, const BlitParams& params,
              const PixelStage& stage) {
  const PixelRect limit = destination.bounds().intersected(destination.clipRect());
  const PixelRect from = params.sourceRect.intersected(source.bounds());
  if (limit.isEmpty() || from.isEmpty()) return;
  for (const FloatPoint& corner : params.quad->corners)
    if (!std::isfinite(corner.x) || !std::isfinite(corner.y) || std::fabs(corner.x) > kFarthestCorner ||
        std::fabs(corner.y) > kFarthestCorner)
      return;

  const auto& q = params.quad->corners;
  const int64_t left = int64_t{from.left} * kOne, top = int64_t{from.top} * kOne;
  const int64_t right = int64_t{from.right} * kOne, bottom = int64_t{from.bottom} * kOne;
  // Ring order: top-left, bottom-left, bottom-right, top-right.
  const std::array<Vertex, 4> ring = {{{toFixed(q[0].x), toFixed(q[0].y), left, top},
                                       {toFixed(q[3].x), toFixed(q[3].y), left, bottom},
                                       {toFixed(q[2].x), toFixed(q[2].y), right, bottom},
                                       {toFixed(q[1].x), toFixed(q[1].y), right, top}}};
  int topIndex = 0, bottomIndex = 0;
  for (int i = 1; i < 4; ++i) {
    if (ring[i].y < ring[topIndex].y) topIndex = i;
    if (ring[i].y > ring[bottomIndex].y) bottomIndex = i;
  }
  Chain forward(ring, topIndex, bottomIndex, 1);
  Chain backward(ring, topIndex, bottomIndex, -1);

  // A span's pixels gathered in order are an unscaled row, which the unscaled fast path of the
  // same stage (if any) draws as the general path would; a mask read along with them is one mask
  // value a pixel (bit masks as 0 and 255), which the byte-mask paths take.
  const bool readsMask = mask && maskNeeded(stage);
  PixelStage unscaled = stage;
  if (readsMask) unscaled.maskKind = MaskKind::bytes;
  const RowFunction fast =
      fastPathsEnabled() && bitsPerPixel(stage.source) >= 8 ? findFastPath(unscaled, kOne, kOne, false) : nullptr;
  const int32_t sourceBytes = bitsPerPixel(stage.source) / 8;
  std::vector<uint8_t> gathered(fast ? static_cast<size_t>(limit.width()) * static_cast<size_t>(sourceBytes) : 0);
  const ScratchRows scratch = scratchRows(limit.width());
  std::vector<int32_t> columns(static_cast<size_t>(limit.width())), rows(static_cast<size_t>(limit.width()));
  const SpanSampler sample = kSpanSamplers[static_cast<int>(stage.source)];
  const bool indexed = isIndexed(stage.source);
  const PixelRect maskArea = mask ? mask->bounds() : PixelRect{};

  for (int64_t row = ceilToRow(ring[topIndex].y);; ++row) {
    if (!forward.cover(row) || !backward.cover(row)) break;
    if (row >= limit.bottom) break;
    Edge a = forward.edge();
    Edge b = backward.edge();
    forward.edge().step();
    backward.edge().step();
    if (row < limit.top) continue;
    if (a.x > b.x) std::swap(a, b);

    const int64_t spanStart = ceilToRow(a.x);
    const int64_t spanEnd = ceilToRow(b.x);
    const int64_t first = std::max<int64_t>(spanStart, limit.left);
    const int64_t end = std::min<int64_t>(spanEnd, limit.right);
    if (first >= end) continue;
    const double width = static_cast<double>(b.x - a.x);
    const int64_t du = width > 0 ? static_cast<int64_t>(std::floor((b.u - a.u) * kOne / width)) : 0;
    const int64_t dv = width > 0 ? static_cast<int64_t>(std::floor((b.v - a.v) * kOne / width)) : 0;
    const double prestep = static_cast<double>(first * kOne - a.x);
    int64_t u = a.u + static_cast<int64_t>(std::floor(du * prestep / kOne));
    int64_t v = a.v + static_cast<int64_t>(std::floor(dv * prestep / kOne));
    // A coordinate that runs downwards starts on the exclusive far side of its texel range; one
    // unit lower lands on the last texel inside. (A constant coordinate stays: lowering it would
    // shift every unrotated quad by a texel.)
    if (a.du < 0 || b.du < 0 || du < 0) u = std::max<int64_t>(u - 1, 0);
    if (a.dv < 0 || b.dv < 0 || dv < 0) v = std::max<int64_t>(v - 1, 0);

    const int32_t count = static_cast<int32_t>(end - first);
    if (fast) kSpanGatherers[static_cast<size_t>(sourceBytes - 1)](source, u, v, du, dv, count, from, gathered.data());
    else sample(source, u, v, du, dv, count, from, stage.sourceLookup, scratch.colours, scratch.raw, columns.data(), rows.data());
    const uint8_t* maskBytes = nullptr;
    if (readsMask) {
      if (fast) sourcePlaces(u, v, du, dv, count, from, columns.data(), rows.data());
      for (int32_t i = 0; i < count; ++i) {
        const int32_t mx = columns[i] - params.maskOffsetH, my = rows[i] - params.maskOffsetV;
        scratch.mask[i] = maskArea.contains(mx, my) ? readMaskValue(stage.maskFormat, mask->row(my), mx) : 255;
      }
      maskBytes = scratch.mask;
    }
    if (fast)
      fast({destination.row(static_cast<int32_t>(row)), static_cast<int32_t>(first), count, gathered.data(), 0, kOne,
            maskBytes, 0},
           unscaled);
    else
      combineSampled(destination.row(static_cast<int32_t>(row)), static_cast<int32_t>(first),
                     {scratch.colours, indexed ? scratch.raw : nullptr, maskBytes, count}, stage);
  }
}

}  // namespace qn
