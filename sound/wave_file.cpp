#include "sound/wave_file.h"

#include <cstring>

namespace qn {

namespace {

constexpr size_t kHeaderBytes = 12;
constexpr size_t kChunkHeaderBytes = 8;
constexpr size_t kFormatRecordBytes = 16;
// What writeWaveFile puts before the samples: the RIFF header, the format chunk, the data header.
constexpr size_t kWrittenHeaderBytes =
    kHeaderBytes + kChunkHeaderBytes + kFormatRecordBytes + kChunkHeaderBytes;

uint16_t read16(const uint8_t* at) { return static_cast<uint16_t>(at[0] | at[1] << 8); }
uint32_t read32(const uint8_t* at) {
  return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 |
         static_cast<uint32_t>(at[2]) << 16 | static_cast<uint32_t>(at[3]) << 24;
}

bool hasTag(const uint8_t* at, const char (&tag)[5]) { return std::memcmp(at, tag, 4) == 0; }

platform::WaveFormat readFormat(const uint8_t* body, size_t size) {
  platform::WaveFormat format;
  format.formatTag = read16(body);
  format.channels = read16(body + 2);
  format.samplesPerSecond = read32(body + 4);
  format.averageBytesPerSecond = read32(body + 8);
  format.blockAlign = read16(body + 12);
  format.bitsPerSample = read16(body + 14);
  format.extraSize = size >= kFormatRecordBytes + 2 ? read16(body + 16) : 0;
  return format;
}

void put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}
void put32(uint8_t* at, uint32_t value) {
  put16(at, value & 0xFFFF);
  put16(at + 2, value >> 16);
}
void putTag(uint8_t* at, const char (&tag)[5]) { std::memcpy(at, tag, 4); }

}  // namespace

bool isWaveFile(const uint8_t* bytes, size_t size) {
  return size >= kHeaderBytes && hasTag(bytes, "RIFF") && hasTag(bytes + 8, "WAVE");
}

std::optional<WaveContents> readWaveFile(const uint8_t* bytes, size_t size) {
  if (!isWaveFile(bytes, size)) return std::nullopt;
  std::optional<platform::WaveFormat> format;
  const uint8_t* samples = nullptr;
  size_t sampleBytes = 0;
  size_t position = kHeaderBytes;
  while (size - position >= kChunkHeaderBytes) {
    const uint8_t* chunk = bytes + position;
    const uint8_t* body = chunk + kChunkHeaderBytes;
    size_t bodySize = read32(chunk + 4);
    size_t present = size - position - kChunkHeaderBytes;
    bool isFormat = hasTag(chunk, "fmt ");
    bool isData = hasTag(chunk, "data");
    if (bodySize > present) {
      if (isFormat || isData) return std::nullopt;  // truncated, or a size that lies
      break;
    }
    if (isFormat && !format) {
      if (bodySize < kFormatRecordBytes) return std::nullopt;
      format = readFormat(body, bodySize);
    } else if (isData && !samples) {
      samples = body;
      sampleBytes = bodySize;
    }
    position += kChunkHeaderBytes + bodySize;
  }
  if (!format || !samples) return std::nullopt;
  return WaveContents{*format, samples, sampleBytes};
}

std::vector<uint8_t> writeWaveFile(const platform::WaveFormat& format, const uint8_t* samples,
                                   size_t size) {
  std::vector<uint8_t> out(kWrittenHeaderBytes + size);
  uint8_t* at = out.data();
  putTag(at, "RIFF");
  put32(at + 4, static_cast<uint32_t>(out.size() - kChunkHeaderBytes));
  putTag(at + 8, "WAVE");
  putTag(at + 12, "fmt ");
  put32(at + 16, kFormatRecordBytes);
  put16(at + 20, format.formatTag);
  put16(at + 22, format.channels);
  put32(at + 24, format.samplesPerSecond);
  put32(at + 28, format.averageBytesPerSecond);
  put16(at + 32, format.blockAlign);
  put16(at + 34, format.bitsPerSample);
  putTag(at + 36, "data");
  put32(at + 40, static_cast<uint32_t>(size));
  if (size) std::memcpy(at + kWrittenHeaderBytes, samples, size);
  return out;
}

std::vector<uint8_t> writeWaveFile(const SampleBuffer& buffer) {
  std::vector<uint8_t> out = writeWaveFile(buffer.format(), buffer.data(), buffer.size());
  if (buffer.format().bitsPerSample == 8) flipSampleSigns(out.data() + kWrittenHeaderBytes, buffer.size());
  return out;
}

}  // namespace qn
