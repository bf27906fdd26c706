// Small helpers for the graphics tests: images held by Values, raw pixel access by coordinates.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <random>

#include "gfx/image_buffer.h"
#include "gfx/pixel_access.h"

namespace qn::test {

class TestImage {
 public:
  TestImage(int32_t width, int32_t height, int32_t depthCode, int32_t alphaRequest = 0)
      : value_(Value::adopt(ImageBuffer::create(width, height, depthCode, alphaRequest))) {}
  explicit TestImage(ImageBuffer* adopted) : value_(Value::adopt(adopted)) {}
  explicit TestImage(std::nullptr_t) {}

  ImageBuffer& operator*() const { return *imageBufferOf(value_); }
  ImageBuffer* operator->() const { return imageBufferOf(value_); }
  ImageBuffer* get() const { return imageBufferOf(value_); }
  const Value& value() const { return value_; }

  uint32_t at(int32_t x, int32_t y) const { return readRawPixel(get()->format(), get()->row(y), x); }
  void set(int32_t x, int32_t y, uint32_t raw) const { writeRawPixel(get()->format(), get()->row(y), x, raw); }
  void fillRaw(uint32_t raw) const {
    for (int32_t y = 0; y < get()->height(); ++y)
      for (int32_t x = 0; x < get()->width(); ++x) set(x, y, raw);
  }
  // Random raw values valid for the format (5-5-5 pixels leave bit 15 clear: it is not kept).
  void randomize(std::mt19937& random) const {
    for (int32_t y = 0; y < get()->height(); ++y)
      for (int32_t x = 0; x < get()->width(); ++x) {
        uint32_t raw = random();
        if (get()->format() == PixelFormat::rgb555) raw &= 0x7FFF;
        set(x, y, raw);
      }
  }

 private:
  Value value_;
};

inline PixelRect wholeOf(const ImageBuffer& image) { return image.bounds(); }

}  // namespace qn::test
