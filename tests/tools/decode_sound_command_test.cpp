#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/mapped_file.h"
#include "sound/wave_file.h"
#include "tools/qmftool_command.h"

namespace qn::tools {
namespace {

std::optional<WaveContents> readBack(const std::string& path, std::string& bytes) {
  if (!platform::readWholeFile(path, bytes)) return std::nullopt;
  return readWaveFile(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

TEST(DecodeSoundCommand, WritesWhatTheMixerWouldPlay) {
  const std::string input = std::string(SOUND_TEST_DATA) + "/tone_stereo_44100.ogg";
  const std::string output = std::string(TOOLS_TEST_OUTPUT) + "/decoded.wav";

  std::vector<std::string_view> defaults = {input, output};
  ASSERT_EQ(decodeSoundCommand(defaults), kSucceeded);
  std::string bytes;
  std::optional<WaveContents> wave = readBack(output, bytes);
  ASSERT_TRUE(wave);
  EXPECT_TRUE(platform::sameLayout(wave->format, platform::pcmFormat(2, 22050, 8)));
  EXPECT_NEAR(static_cast<double>(wave->size), 22050.0, 200) << "half a second";

  std::vector<std::string_view> mono = {"--rate", "11025", "--mono", input, output};
  ASSERT_EQ(decodeSoundCommand(mono), kSucceeded);
  wave = readBack(output, bytes);
  ASSERT_TRUE(wave);
  EXPECT_TRUE(platform::sameLayout(wave->format, platform::pcmFormat(1, 11025, 8)));
}

TEST(DecodeSoundCommand, RefusesBadArgumentsAndInput) {
  const std::string output = std::string(TOOLS_TEST_OUTPUT) + "/refused.wav";
  std::vector<std::string_view> oneFile = {output};
  EXPECT_EQ(decodeSoundCommand(oneFile), kBadUsage);
  std::vector<std::string_view> badRate = {"--rate", "48000", output, output};
  EXPECT_EQ(decodeSoundCommand(badRate), kBadUsage);
  std::vector<std::string_view> missing = {"/nonexistent/sound.ogg", output};
  EXPECT_EQ(decodeSoundCommand(missing), kFailed);
  const std::string notSound = std::string(SOUND_TEST_DATA) + "/../CMakeLists.txt";
  std::vector<std::string_view> garbage = {notSound, output};
  EXPECT_EQ(decodeSoundCommand(garbage), kFailed);
}

}  // namespace
}  // namespace qn::tools
