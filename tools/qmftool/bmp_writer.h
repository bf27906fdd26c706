// BMP file images as the packer stores them: 32-bit colour (B, G, R, A) and 8-bit masks with a
// grey palette. Rows are written bottom-up, as the format keeps them.
#pragma once

#include <cstdint>
#include <vector>

namespace qn::qmftool {

// `rgba`: width x height pixels as R, G, B, A bytes, rows top-down.
std::vector<uint8_t> writeBmp32(const uint8_t* rgba, int32_t width, int32_t height);
// `values`: width x height bytes, rows top-down.
std::vector<uint8_t> writeBmp8(const uint8_t* values, int32_t width, int32_t height);

}  // namespace qn::qmftool
