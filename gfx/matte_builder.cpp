#include "gfx/matte_builder.h"

namespace qn {

namespace {
MatteBuilder installedBuilder = nullptr;
}

void setMatteBuilder(MatteBuilder builder) { installedBuilder = builder; }

ImageBuffer* buildMatte(const ImageBuffer& image, int32_t alphaThreshold) {
  return installedBuilder ? installedBuilder(image, alphaThreshold) : nullptr;
}

}  // namespace qn
