// Writes the sound files the sound tests, benchmarks and fuzz seeds read (tests/sound/data).
// Ogg Vorbis needs an encoder, which the runtime does not have, so the files are made once with
// this program and kept in the repository:
//   cmake --build build --target make_test_sounds && build/tests/sound/make_test_sounds tests/sound/data
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "shell/platform/mapped_file.h"
#include "sound/wave_file.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// A few tones that change every quarter second, so that decoded sound can be told from silence.
float toneAt(long frame, int channel, long rate) {
  double seconds = double(frame) / rate;
  double pitch = 330.0 * (1 + (frame * 4 / rate) % 5) * (channel ? 1.5 : 1.0);
  return static_cast<float>(0.6 * std::sin(2 * kPi * pitch * seconds));
}

bool appendPage(std::vector<unsigned char>& out, const ogg_page& page) {
  out.insert(out.end(), page.header, page.header + page.header_len);
  out.insert(out.end(), page.body, page.body + page.body_len);
  return ogg_page_eos(&page) != 0;
}

std::vector<unsigned char> encodeOgg(int channels, long rate, double seconds, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) std::exit(1);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 7);

  std::vector<unsigned char> out;
  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  ogg_page page;
  while (ogg_stream_flush(&stream, &page)) appendPage(out, page);

  const long frames = static_cast<long>(seconds * rate);
  const long chunk = 1024;
  bool ended = false;
  for (long done = 0; !ended;) {
    long count = std::min(chunk, frames - done);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (long i = 0; i < count; ++i)
        for (int c = 0; c < channels; ++c) buffer[c][i] = toneAt(done + i, c, rate);
      vorbis_analysis_wrote(&dsp, static_cast<int>(count));
      done += count;
    } else {
      vorbis_analysis_wrote(&dsp, 0);
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        while (!ended && ogg_stream_pageout(&stream, &page)) ended = appendPage(out, page);
      }
    }
  }
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

std::vector<uint8_t> toneWave(int channels, uint32_t rate, int bits, double seconds) {
  std::vector<uint8_t> samples;
  const long frames = static_cast<long>(seconds * rate);
  for (long i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      float value = toneAt(i, c, rate);
      if (bits == 8) {
        samples.push_back(static_cast<uint8_t>(128 + std::lround(value * 127)));
      } else {
        auto sample = static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767)));
        samples.push_back(static_cast<uint8_t>(sample));
        samples.push_back(static_cast<uint8_t>(sample >> 8));
      }
    }
  auto format = qn::platform::pcmFormat(static_cast<uint16_t>(channels), rate, static_cast<uint16_t>(bits));
  return qn::writeWaveFile(format, samples.data(), samples.size());
}

void save(const std::string& folder, const char* name, const void* bytes, size_t size) {
  std::string path = folder + "/" + name;
  if (!qn::platform::writeWholeFile(path, bytes, size)) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    std::exit(1);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_test_sounds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  auto mono = encodeOgg(1, 22050, 0.5, 0.2f);
  save(folder, "tone_mono_22050.ogg", mono.data(), mono.size());
  auto stereo = encodeOgg(2, 44100, 0.5, 0.0f);
  save(folder, "tone_stereo_44100.ogg", stereo.data(), stereo.size());
  auto music = encodeOgg(2, 44100, 10.0, -0.1f);
  save(folder, "music_10s_44100.ogg", music.data(), music.size());
  auto wave8 = toneWave(2, 22050, 8, 0.05);
  save(folder, "tone_stereo_22050_u8.wav", wave8.data(), wave8.size());
  auto wave16 = toneWave(1, 44100, 16, 0.05);
  save(folder, "tone_mono_44100_s16.wav", wave16.data(), wave16.size());
  return 0;
}
