// decode-sound: a WAVE or Ogg Vorbis file through the runtime's decoder and converter, written as
// the WAVE file of what the mixer would play (22050 Hz stereo 8-bit unless told otherwise).
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>

#include "platform/mapped_file.h"
#include "platform/wave_output.h"
#include "sound/decode_sound.h"
#include "sound/output_format.h"
#include "sound/wave_file.h"
#include "tools/qmftool_command.h"

namespace qn::tools {

namespace {

constexpr uint32_t kDefaultRate = 22050;

struct DecodeSoundOptions {
  uint32_t rate = kDefaultRate;
  bool stereo = true;
  std::string input, output;
};

std::optional<DecodeSoundOptions> parseOptions(Arguments arguments) {
  DecodeSoundOptions options;
  std::vector<std::string_view> files;
  for (size_t i = 0; i < arguments.size(); ++i) {
    std::string_view argument = arguments[i];
    if (argument == "--mono") {
      options.stereo = false;
    } else if (argument == "--rate" && i + 1 < arguments.size()) {
      std::string_view value = arguments[++i];
      auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), options.rate);
      if (error != std::errc() || end != value.data() + value.size()) return std::nullopt;
    } else if (argument.starts_with("--")) {
      return std::nullopt;
    } else {
      files.push_back(argument);
    }
  }
  if (files.size() != 2) return std::nullopt;
  options.input = files[0];
  options.output = files[1];
  return options;
}

}  // namespace

int decodeSoundCommand(Arguments arguments) {
  std::optional<DecodeSoundOptions> options = parseOptions(arguments);
  if (!options) {
    std::fprintf(stderr, "usage: qmftool decode-sound [--rate 11025|22050|44100] [--mono] IN OUT.wav\n");
    return kBadUsage;
  }
  std::optional<platform::WaveFormat> format =
      chooseOutputFormat(options->rate, options->stereo, platform::kAll8BitFormats);
  if (!format || format->samplesPerSecond != options->rate) {
    std::fprintf(stderr, "decode-sound: the rate must be 11025, 22050 or 44100\n");
    return kBadUsage;
  }
  std::string bytes;
  if (!platform::readWholeFile(options->input, bytes)) {
    std::fprintf(stderr, "decode-sound: cannot read %s\n", options->input.c_str());
    return kFailed;
  }
  SampleRef sound = decodeSound(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), *format, nullptr);
  if (!sound) {
    std::fprintf(stderr, "decode-sound: %s is not a WAVE or Ogg Vorbis sound that decodes\n",
                 options->input.c_str());
    return kFailed;
  }
  std::vector<uint8_t> wave = writeWaveFile(*sound);
  if (!platform::writeWholeFile(options->output, wave.data(), wave.size())) {
    std::fprintf(stderr, "decode-sound: cannot write %s\n", options->output.c_str());
    return kFailed;
  }
  std::printf("%s: %u Hz %s 8-bit, %zu frames\n", options->output.c_str(), format->samplesPerSecond,
              format->channels == 2 ? "stereo" : "mono", sound->size() / format->blockAlign);
  return kSucceeded;
}

}  // namespace qn::tools
