// soundgen OUTPUT_FOLDER: synthesises every sound member of the game's cast as
// OUTPUT_FOLDER/NAME.wav or NAME.ogg. The same build always writes the same bytes.
#include <cstdio>
#include <string>

#include "tools/soundgen/encoders.h"
#include "tools/soundgen/sounds.h"

int main(int argc, char** argv) {
  using namespace qn::soundgen;
  if (argc != 2) {
    std::fprintf(stderr, "usage: soundgen OUTPUT_FOLDER\n");
    return 2;
  }
  for (const SoundRecipe& recipe : soundRecipes()) {
    const Track track = recipe.make(recipe.rate);
    const bool wave = recipe.container == Container::wave;
    const std::vector<uint8_t> bytes =
        wave ? encodeWave(track, recipe.bitsPerSample, recipe.channels) : encodeVorbis(track, recipe.channels, 0.3f);
    // Built by appending: GCC 12 misreads `const char* + std::string&&` as an overlapping copy.
    std::string path = argv[1];
    path.append("/").append(recipe.name).append(wave ? ".wav" : ".ogg");
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (file) std::fclose(file);
    if (!written) {
      std::fprintf(stderr, "soundgen: cannot write %s\n", path.c_str());
      return 1;
    }
  }
  return 0;
}
