// icongen ART.png OUTPUT_FOLDER WINDOW_ICON.cpp [WEB_FOLDER]: the program's icons from a picture of
// the game. What the picture shows (its opaque part) is centred on a transparent square and
// scaled (alpha-weighted) to each usual icon size as OUTPUT_FOLDER/NxN/apps/boules.png, the
// layout of an icon theme; WINDOW_ICON.cpp holds the 64 x 64 icon as RGBA bytes for the window
// (shell/window_icon.h). WEB_FOLDER gets the browser edition's icons: icon-192.png and
// icon-512.png as the others, icon-maskable-512.png with the picture inside the safe circle of a
// square filled with the page's colour (a phone cuts it to its own shape), and
// apple-touch-icon.png (180 x 180, the same on that colour: that system does not keep
// transparency).
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_RESIZE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image.h>
#include <stb_image_resize.h>
#include <stb_image_write.h>

namespace {

constexpr std::array kIconSizes = {16, 22, 24, 32, 48, 64, 128, 256};
constexpr int kWindowIconSize = 64;
constexpr unsigned char kPageColour[3] = {0x0B, 0x13, 0x22};  // the page's cover, #0b1322
// A maskable icon's content stays within the middle circle of 80 % of its width; the picture
// fills 70 % of that.
constexpr double kMaskableShare = 0.8 * 0.7;

struct Rgba {
  int size = 0;
  std::vector<unsigned char> pixels;
};

// What the picture shows (the bounds of its pixels that are not transparent) in the middle of a
// transparent square as large as its longer side.
Rgba squared(const unsigned char* pixels, int width, int height) {
  int left = width, top = height, right = 0, bottom = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (pixels[(static_cast<size_t>(y) * width + x) * 4 + 3] != 0) {
        left = std::min(left, x), right = std::max(right, x + 1);
        top = std::min(top, y), bottom = std::max(bottom, y + 1);
      }
  if (left >= right) left = top = 0, right = width, bottom = height;
  Rgba square;
  square.size = std::max(right - left, bottom - top);
  square.pixels.assign(static_cast<size_t>(square.size) * square.size * 4, 0);
  const int toLeft = (square.size - (right - left)) / 2, toTop = (square.size - (bottom - top)) / 2;
  for (int y = top; y < bottom; ++y)
    std::copy_n(pixels + (static_cast<size_t>(y) * width + left) * 4, (right - left) * 4,
                square.pixels.begin() + (static_cast<size_t>(toTop + y - top) * square.size + toLeft) * 4);
  return square;
}

Rgba scaled(const Rgba& source, int size) {
  Rgba icon{size, std::vector<unsigned char>(static_cast<size_t>(size) * size * 4)};
  stbir_resize_uint8_srgb(source.pixels.data(), source.size, source.size, 0, icon.pixels.data(), size, size, 0, 4, 3,
                          0);
  return icon;
}

// The picture scaled to `share` of a `size` square of the page's colour, in its middle, opaque.
Rgba onPageColour(const Rgba& source, int size, double share) {
  const int inner = static_cast<int>(size * share);
  const Rgba picture = scaled(source, inner);
  Rgba icon{size, std::vector<unsigned char>(static_cast<size_t>(size) * size * 4)};
  const int offset = (size - inner) / 2;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      unsigned char* out = &icon.pixels[(static_cast<size_t>(y) * size + x) * 4];
      const bool inside = x >= offset && x < offset + inner && y >= offset && y < offset + inner;
      const unsigned char* in = inside ? &picture.pixels[(static_cast<size_t>(y - offset) * inner + x - offset) * 4] : nullptr;
      const int alpha = in ? in[3] : 0;
      for (int c = 0; c < 3; ++c) out[c] = static_cast<unsigned char>(((in ? in[c] : 0) * alpha + kPageColour[c] * (255 - alpha)) / 255);
      out[3] = 255;
    }
  return icon;
}

bool writePng(const Rgba& icon, const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  if (!error && stbi_write_png(path.string().c_str(), icon.size, icon.size, 4, icon.pixels.data(), icon.size * 4))
    return true;
  std::fprintf(stderr, "icongen: cannot write %s\n", path.string().c_str());
  return false;
}

bool writeWindowIcon(const Rgba& icon, const std::string& path) {
  std::ofstream out(path);
  out << "// Made by tools/icongen from the game's art.\n#include \"shell/window_icon.h\"\n\nnamespace qn {\n\n"
      << "const int kWindowIconSize = " << icon.size << ";\nconst unsigned char kWindowIconRgba[] = {";
  for (size_t i = 0; i < icon.pixels.size(); ++i) out << (i % 16 == 0 ? "\n" : " ") << int{icon.pixels[i]} << ",";
  out << "\n};\n\n}  // namespace qn\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4 && argc != 5) {
    std::fprintf(stderr, "usage: icongen ART.png OUTPUT_FOLDER WINDOW_ICON.cpp [WEB_FOLDER]\n");
    return 2;
  }
  int width = 0, height = 0, channels = 0;
  std::unique_ptr<unsigned char, void (*)(void*)> pixels(stbi_load(argv[1], &width, &height, &channels, 4),
                                                          stbi_image_free);
  if (!pixels) {
    std::fprintf(stderr, "icongen: cannot read %s\n", argv[1]);
    return 1;
  }
  const Rgba square = squared(pixels.get(), width, height);
  for (int size : kIconSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size);
    if (!writePng(scaled(square, size), std::filesystem::path(argv[2]) / name / "apps" / "boules.png")) return 1;
  }
  if (argc == 5) {
    const std::filesystem::path web = argv[4];
    if (!writePng(scaled(square, 192), web / "icon-192.png") || !writePng(scaled(square, 512), web / "icon-512.png") ||
        !writePng(onPageColour(square, 512, kMaskableShare), web / "icon-maskable-512.png") ||
        !writePng(onPageColour(square, 180, 0.8), web / "apple-touch-icon.png"))
      return 1;
  }
  if (!writeWindowIcon(scaled(square, kWindowIconSize), argv[3])) {
    std::fprintf(stderr, "icongen: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
