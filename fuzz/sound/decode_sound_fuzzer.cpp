// Sound member bytes of any shape: decoded (WAVE or Ogg Vorbis), converted to the output format
// and mixed, as a member's load and play would do.
#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/fake_wave_output.h"
#include "sound/decode_sound.h"
#include "sound/sound_mixer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A device that never opens: the mixer mixes only when asked, on this thread.
  static qn::SoundMixer mixer(22050, true, std::make_unique<qn::platform::FakeWaveOutput>(
                                               qn::platform::kAll8BitFormats, false));
  static const qn::platform::WaveFormat output = qn::platform::pcmFormat(2, 22050, 8);
  static std::array<uint8_t, qn::SoundMixer::kBlockBytes> block;

  qn::SampleRef sound = qn::decodeSound(data, size, output, nullptr);
  if (!sound) return 0;
  mixer.play(sound, 1, false);
  for (int i = 0; i < 4 && mixer.mixBlock(block.data()) != 0; ++i) {
  }
  mixer.stop(1);
  return 0;
}
