// icongen ART.png OUTPUT_FOLDER WINDOW_ICON.cpp: the program's icons from a picture of the game.
// The picture is centred on a transparent square and scaled (alpha-weighted) to each usual icon
// size as OUTPUT_FOLDER/NxN/apps/boules.png, the layout of an icon theme; WINDOW_ICON.cpp holds
// the 64 x 64 icon as RGBA bytes for the window (shell/window_icon.h).
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

struct Rgba {
  int size = 0;
  std::vector<unsigned char> pixels;
};

// The picture in the middle of a transparent square as large as its longer side.
Rgba squared(const unsigned char* pixels, int width, int height) {
  Rgba square;
  square.size = std::max(width, height);
  square.pixels.assign(static_cast<size_t>(square.size) * square.size * 4, 0);
  const int left = (square.size - width) / 2, top = (square.size - height) / 2;
  for (int y = 0; y < height; ++y)
    std::copy_n(pixels + static_cast<size_t>(y) * width * 4, width * 4,
                square.pixels.begin() + (static_cast<size_t>(top + y) * square.size + left) * 4);
  return square;
}

Rgba scaled(const Rgba& source, int size) {
  Rgba icon{size, std::vector<unsigned char>(static_cast<size_t>(size) * size * 4)};
  stbir_resize_uint8_srgb(source.pixels.data(), source.size, source.size, 0, icon.pixels.data(), size, size, 0, 4, 3,
                          0);
  return icon;
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
  if (argc != 4) {
    std::fprintf(stderr, "usage: icongen ART.png OUTPUT_FOLDER WINDOW_ICON.cpp\n");
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
    const std::filesystem::path folder =
        std::filesystem::path(argv[2]) / (std::to_string(size) + "x" + std::to_string(size)) / "apps";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const Rgba icon = scaled(square, size);
    const std::string path = (folder / "boules.png").string();
    if (error || !stbi_write_png(path.c_str(), size, size, 4, icon.pixels.data(), size * 4)) {
      std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  if (!writeWindowIcon(scaled(square, kWindowIconSize), argv[3])) {
    std::fprintf(stderr, "icongen: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
