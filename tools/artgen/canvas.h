// One member picture while it is drawn: a cairo ARGB surface and the ways to turn it into the
// RGBA pixels the media packer takes. At scale k the surface has k times the member's width and
// height and draws through cairo_scale(k, k), so the drawing code works in the member's own
// units throughout; the finishes below work on the surface's pixels.
//
// Pictures come in three finishes, chosen by how the game draws the member:
// - alpha: members with useAlpha keep their antialiased alpha;
// - on white: members drawn with matte or backgroundTransparent ink and no alpha. Everything that
//   is not drawn becomes pure white 0xFFFFFF connected to the border, antialiased edges are
//   blended over the colour the sprite usually sits on, and no visible pixel is pure white;
// - opaque: full pictures and buttons drawn with copy ink.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace qn::artgen {

class Canvas {
 public:
  Canvas(int width, int height, int scale = 1);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  cairo_t* cr() const { return cr_; }
  // The member's size, in the units the drawing uses.
  int width() const { return width_; }
  int height() const { return height_; }
  // Surface pixels per member pixel, in each direction.
  int scale() const { return scale_; }
  int pixelWidth() const { return width_ * scale_; }
  int pixelHeight() const { return height_ * scale_; }

  std::vector<uint8_t> finishAlpha();
  std::vector<uint8_t> finishOnWhite(uint32_t fringeColor);
  std::vector<uint8_t> finishOpaque();

  // Direct access to the surface's premultiplied pixels (0xAARRGGBB words) for per-pixel work.
  uint32_t* pixels();
  int stride() const;  // in words
  void markDirty();

 private:
  int width_, height_, scale_;
  cairo_surface_t* surface_;
  cairo_t* cr_;
};

}  // namespace qn::artgen
