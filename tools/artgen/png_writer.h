// A small PNG encoder for the generated art: 8-bit RGBA, one IDAT chunk, zlib at the level asked
// with the per-row filter that minimises the sum of absolute residuals. No timestamps or text
// chunks, so the same pixels always give the same bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qn::artgen {

// Pixels are rows of R, G, B, A bytes, top row first; `level` is zlib's, 1 to 9.
std::vector<uint8_t> encodePng(const std::vector<uint8_t>& rgba, int width, int height, int level);
bool writeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace qn::artgen
