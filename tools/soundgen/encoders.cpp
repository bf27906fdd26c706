#include "tools/soundgen/encoders.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace qn::soundgen {
namespace {

void putLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// Mono is the average of both sides.
float sampleAt(const Track& track, size_t frame, int channel, int channels) {
  if (channels == 1) return (track.left()[frame] + track.right()[frame]) / 2;
  return channel == 0 ? track.left()[frame] : track.right()[frame];
}

void appendPages(ogg_stream_state& stream, std::vector<uint8_t>& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
  }
}

}  // namespace

std::vector<uint8_t> encodeWave(const Track& track, int bitsPerSample, int channels) {
  const uint32_t bytesPerFrame = static_cast<uint32_t>(bitsPerSample / 8 * channels);
  const uint32_t dataSize = static_cast<uint32_t>(track.frames()) * bytesPerFrame;
  std::vector<uint8_t> out;
  putTag(out, "RIFF");
  putLittleEndian(out, 36 + dataSize + (dataSize & 1), 4);
  putTag(out, "WAVE");
  putTag(out, "fmt ");
  putLittleEndian(out, 16, 4);
  putLittleEndian(out, 1, 2);  // PCM
  putLittleEndian(out, static_cast<uint32_t>(channels), 2);
  putLittleEndian(out, static_cast<uint32_t>(track.rate()), 4);
  putLittleEndian(out, static_cast<uint32_t>(track.rate()) * bytesPerFrame, 4);
  putLittleEndian(out, bytesPerFrame, 2);
  putLittleEndian(out, static_cast<uint32_t>(bitsPerSample), 2);
  putTag(out, "data");
  putLittleEndian(out, dataSize, 4);
  for (size_t frame = 0; frame < track.frames(); ++frame) {
    for (int channel = 0; channel < channels; ++channel) {
      const double value = std::clamp(static_cast<double>(sampleAt(track, frame, channel, channels)), -1.0, 1.0);
      if (bitsPerSample == 8) {
        out.push_back(static_cast<uint8_t>(std::lround(128 + value * 127)));
      } else {
        putLittleEndian(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 32767))), 2);
      }
    }
  }
  if (dataSize & 1) out.push_back(0);  // chunks are padded to an even length
  return out;
}

std::vector<uint8_t> encodeVorbis(const Track& track, int channels, float quality) {
  vorbis_info info;
  vorbis_info_init(&info);
  std::vector<uint8_t> out;
  if (vorbis_encode_init_vbr(&info, channels, track.rate(), quality) != 0) {
    vorbis_info_clear(&info);
    return out;
  }
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_block block;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x51B0);

  ogg_packet header, commentHeader, codeHeader;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codeHeader);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codeHeader);
  appendPages(stream, out, true);

  constexpr size_t kChunk = 1024;
  for (size_t done = 0;;) {
    const size_t count = std::min(kChunk, track.frames() - done);
    if (count > 0) {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
      for (size_t i = 0; i < count; ++i) {
        for (int channel = 0; channel < channels; ++channel) {
          buffer[channel][i] = sampleAt(track, done + i, channel, channels);
        }
      }
      done += count;
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));  // 0 marks the end of the stream
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        appendPages(stream, out, false);
      }
    }
    if (count == 0) break;
  }
  appendPages(stream, out, true);
  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

}  // namespace qn::soundgen
