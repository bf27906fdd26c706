#include <gtest/gtest.h>

#include "cast/sound_member.h"
#include "cast/sound_sprite.h"
#include "platform/fake_wave_output.h"
#include "platform/mapped_file.h"
#include "sound/sound_mixer.h"
#include "tests/cast/cast_fixture.h"

namespace qn {
namespace {

using testing::CastWorld;
using testing::MediaBuilder;
using testing::TestRows;

class SoundMemberTest : public testing::CastTest {};

// A mono 8-bit wave of 400 samples at 22050 Hz.
std::vector<uint8_t> wave() {
  std::vector<uint8_t> out;
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
  };
  auto tag = [&](const char* text) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(text[i]));
  };
  tag("RIFF");
  put(36 + 400, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);
  put(1, 2);
  put(22050, 4);
  put(22050, 4);
  put(1, 2);
  put(8, 2);
  tag("data");
  put(400, 4);
  for (int i = 0; i < 400; ++i) out.push_back(static_cast<uint8_t>(128 + (i % 20) * 4));
  return out;
}

TEST_F(SoundMemberTest, LoadsPlaysAndUnloads) {
  MediaBuilder builder;
  TestRows rows;
  MediaBuilder::Blob stored = builder.stored(wave());
  MediaBuilder::Blob packed = builder.compressed(wave());
  rows.sounds.push_back(SoundRow{66, 1, 0, "vault", "", stored.offset, stored.packed, 0});  // 0: as packed
  rows.sounds.push_back(SoundRow{67, 1, 1, "rotate", "", packed.offset, packed.packed, packed.unpacked});
  rows.sounds.push_back(SoundRow{68, 1, 0, "broken", "", stored.offset + 1, stored.packed - 1, 0});
  CastWorld world(builder.finish(), rows.rows());
  auto& vault = *dynamic_cast<SoundMember*>(world.cast().find(66));
  auto& rotate = *dynamic_cast<SoundMember*>(world.cast().find(67));

  EXPECT_EQ(vault.sizeEstimate(), 180);
  ASSERT_TRUE(vault.load());
  ASSERT_TRUE(vault.samples());
  EXPECT_EQ(vault.sizeEstimate(), static_cast<int32_t>(vault.samples()->size()) + 184);
  ASSERT_TRUE(rotate.load());
  EXPECT_EQ(world.member(67).getProperty(sym::loop).toInteger(), 1);
  EXPECT_FALSE(world.cast().find(68)->load());

  // Playing needs the mixer; the member hands over its samples and loop flag.
  SoundMixer mixer(22050, true, std::make_unique<platform::FakeWaveOutput>(platform::kAll8BitFormats, false));
  world.cast().attachMixer(&mixer);
  vault.unload(false);
  vault.play(3);
  EXPECT_TRUE(vault.loaded());
  EXPECT_TRUE(vault.samples()) << "without a device sounds still decode";
  EXPECT_TRUE(mixer.isBusy(3)) << "and play";
  EXPECT_EQ(vault.lastUsed(), world.display().clock);

  // A new filename unloads the member; the next load reads the file beside the program.
  std::vector<uint8_t> bytes = wave();
  ASSERT_TRUE(platform::writeWholeFile(programRelativePath("sound_member_test.wav"), bytes.data(), bytes.size()));
  EXPECT_TRUE(world.member(66).setProperty(sym::filename, Value("sound_member_test.wav")));
  EXPECT_FALSE(vault.loaded());
  EXPECT_TRUE(vault.load());
  std::remove(programRelativePath("sound_member_test.wav").c_str());
  EXPECT_FALSE(world.member(66).setProperty(sym::filename, Value(3)));
  world.cast().attachMixer(nullptr);
}

}  // namespace
}  // namespace qn
