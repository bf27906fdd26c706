// artgen OUTPUT_FOLDER: draws every bitmap member of the game's cast as OUTPUT_FOLDER/NNN.png
// (the member number of castLib 1, three digits). The same build always writes the same bytes.
#include <fontconfig/fontconfig.h>

#include <cstdio>
#include <string>

#include "tools/artgen/member_art.h"
#include "tools/artgen/png_writer.h"

int main(int argc, char** argv) {
  using namespace qn::artgen;
  if (argc != 2) {
    std::fprintf(stderr, "usage: artgen OUTPUT_FOLDER\n");
    return 2;
  }
  for (const MemberArt& art : memberArt()) {
    Canvas canvas(art.width, art.height);
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
    const std::string path = argv[1] + std::string(name);
    if (!writeFile(path, encodePng(rgba, art.width, art.height))) {
      std::fprintf(stderr, "artgen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  // Let go of the font caches so that leak checkers see a clean exit.
  cairo_debug_reset_static_data();
  FcFini();
  return 0;
}
