// Writes the sound files the sound tests, benchmarks and fuzz seeds read (tests/sound/data).
// Ogg Vorbis needs an encoder, which the runtime does not have, so the files are made once with
// this program, through the game's sound generator, and kept in the repository:
//   cmake --build build --target make_test_sounds && build/tests/sound/make_test_sounds tests/sound/data
#include <cstdio>
#include <string>
#include <vector>

#include "platform/mapped_file.h"
#include "tools/soundgen/encoders.h"

namespace {

using qn::soundgen::Note;
using qn::soundgen::Track;

// Tones that change every quarter second, the right side a fifth above the left, so that decoded
// sound can be told from silence and the two sides from each other.
Track tones(int rate, double seconds) {
  Track track(rate, seconds);
  constexpr double kStep = 0.25;
  for (int step = 0; step * kStep < seconds; ++step) {
    const double pitch = 330.0 * (1 + step % 5);
    for (double side : {-1.0, 1.0}) {
      Note note;
      note.start = step * kStep;
      note.length = kStep;
      note.frequency = side < 0 ? pitch : pitch * 1.5;
      note.envelope = {.attack = 0.002, .decay = 1.0, .sustain = 1.0, .release = 0.002};
      note.gain = 0.6;
      note.pan = side;
      track.add(note);
    }
  }
  return track;
}

void save(const std::string& folder, const char* name, const std::vector<uint8_t>& bytes) {
  const std::string path = folder + "/" + name;
  if (bytes.empty() || !qn::platform::writeWholeFile(path, bytes.data(), bytes.size())) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  using qn::soundgen::encodeVorbis;
  using qn::soundgen::encodeWave;
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_test_sounds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  save(folder, "tone_mono_22050.ogg", encodeVorbis(tones(22050, 0.5), 1, 0.2f));
  save(folder, "tone_stereo_44100.ogg", encodeVorbis(tones(44100, 0.5), 2, 0.0f));
  save(folder, "music_10s_44100.ogg", encodeVorbis(tones(44100, 10.0), 2, -0.1f));
  save(folder, "tone_stereo_22050_u8.wav", encodeWave(tones(22050, 0.05), 8, 2));
  save(folder, "tone_mono_44100_s16.wav", encodeWave(tones(44100, 0.05), 16, 1));
  return 0;
}
