// artgen [--scale K] OUTPUT_FOLDER: draws every bitmap member of the game's cast as
// OUTPUT_FOLDER/NNN.png (the member number of castLib 1, three digits), K times finer than the
// cast's size (1 to 4; 1 by default). The same build always writes the same bytes.
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "tools/artgen/member_art.h"
#include "tools/artgen/png_writer.h"

int main(int argc, char** argv) {
  using namespace qn::artgen;
  int scale = 1;
  if (argc == 4 && std::strcmp(argv[1], "--scale") == 0 && std::strlen(argv[2]) == 1 && argv[2][0] >= '1' &&
      argv[2][0] <= '4')
    scale = argv[2][0] - '0';
  else if (argc != 2) {
    std::fprintf(stderr, "usage: artgen [--scale 1|2|3|4] OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string folder = argv[argc - 1];
  // The finer pictures are 4 to 16 times larger: zlib's best level takes 7 times as long on them
  // as its default for 3 % fewer bytes.
  const int level = scale == 1 ? 9 : 6;
  for (const MemberArt& art : memberArt()) {
    Canvas canvas(art.width, art.height, scale);
    if (art.finish == Finish::opaque) {  // full pictures start from black, not transparency
      cairo_set_source_rgb(canvas.cr(), 0, 0, 0);
      cairo_paint(canvas.cr());
    }
    art.draw(canvas, art.number);
    const std::vector<uint8_t> rgba = art.finish == Finish::alpha     ? canvas.finishAlpha()
                                      : art.finish == Finish::onWhite ? canvas.finishOnWhite(art.fringe)
                                                                      : canvas.finishOpaque();
    char name[16];
    std::snprintf(name, sizeof name, "/%03d.png", art.number);
    const std::string path = folder + name;
    if (!writeFile(path, encodePng(rgba, canvas.pixelWidth(), canvas.pixelHeight(), level))) {
      std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  // Let go of the font caches so that leak checkers see a clean exit.
  cairo_debug_reset_static_data();
  FcFini();
  return 0;
}
