// A running movie around our cast for the member and renderer tests: fake display, stage images
// made by the graphics library, no sound device, and media packed in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cast/cast.h"
#include "cast/media_file.h"
#include "engine/movie.h"
#include "gfx/image_buffer.h"
#include "gfx/shape_drawing.h"
#include "script/symbol_table.h"
#include "tests/cast/media_test_support.h"
#include "tests/engine/fake_services.h"

namespace qn::testing {

class FakeStageImages final : public StageImageService {
 public:
  Value createStageImage(int32_t width, int32_t height, int32_t depth) override {
    return Value::adopt(ImageBuffer::create(width, height, depth));
  }
  void setClip(const Value& stage, const IntRect& clip) override {
    imageBufferOf(stage)->setClipRect(PixelRect{clip.left, clip.top, clip.right, clip.bottom});
  }
  void fill(const Value& stage, const IntRect& area, uint32_t rgb) override {
    fillRect(*imageBufferOf(stage), PixelRect{area.left, area.top, area.right, area.bottom}, rgb);
  }
  void enlarge(const Value&, const Value&, const IntRect&, int32_t) override {}
  Value imageObject(const Value& stage) override { return stage; }
};

class SilentSound final : public SoundService {
 public:
  void stop(int32_t channel) override { stopped.push_back(channel); }
  bool isBusy(int32_t) const override { return false; }
  std::vector<int32_t> stopped;
};

class TestMovie final : public Movie {
 public:
  TestMovie(const MovieServices& services, Cast& cast, const CastRows& rows, bool prefer565)
      : Movie(services), cast_(cast), rows_(rows) {
    prefer565_ = prefer565;
  }
  Value createBehaviours(int32_t, int32_t) override { return Value(); }
  void createScriptInstance(Value& result, int32_t, int32_t) override { result = sharedZero; }
  bool defineMovie() override {
    stageWidth_ = 240;
    stageHeight_ = 320;
    tempo_ = 30;
    channelCount_ = 500;
    colorDepth_ = 32;
    mediaFileName_ = "cast test media.qmf";
    mediaFileSize_ = 0;
    cast_.createMembers(rows_);
    return Movie::defineMovie();
  }
  void resetGlobals(Value& result) override { result = Value(); }

 private:
  Cast& cast_;
  const CastRows& rows_;
};

// Owns everything in the order it must go: the movie before the cast before the media.
class CastWorld {
 public:
  CastWorld(const std::vector<uint8_t>& media, const CastRows& rows, bool prefer565 = false) : bytes_(media) {
    media_.bindBytes(bytes_.data(), bytes_.size());
    display_.format = kDisplay32;
    cast_ = std::make_unique<Cast>(media_);
    services_ = std::make_unique<MovieServices>(MovieServices{display_, stages_, *cast_, media_, sound_});
    movie_ = Value::adopt(new TestMovie(*services_, *cast_, rows, prefer565));
    cast_->attach(&movie());
    movie().defineMovie();
    // defineMovie opened the media by name, which found nothing: bind the test's bytes again.
    media_.bindBytes(bytes_.data(), bytes_.size());
  }
  ~CastWorld() {
    movie_ = Value();
    cast_.reset();
  }

  Movie& movie() { return *static_cast<Movie*>(movie_.object()); }
  Cast& cast() { return *cast_; }
  MediaFile& media() { return media_; }
  FakeDisplay& display() { return display_; }
  SilentSound& sound() { return sound_; }
  Value member(int32_t number, int32_t castLib = 1) {
    CastMember* found = cast_->find(memberKey(number, castLib));
    return found ? Value::share(found) : Value();
  }

 private:
  std::vector<uint8_t> bytes_;
  MediaFile media_;
  FakeDisplay display_;
  FakeStageImages stages_;
  SilentSound sound_;
  std::unique_ptr<Cast> cast_;
  std::unique_ptr<MovieServices> services_;
  Value movie_;
};

class CastTest : public ::testing::Test {
 protected:
  void SetUp() override { initValueModel(); }
  void TearDown() override { shutdownValueModel(); }
};

// Rows built next to the media they address.
struct TestRows {
  std::vector<BitmapRow> bitmaps;
  std::vector<FieldRow> fields;
  std::vector<SoundRow> sounds;
  std::vector<ScriptRow> scripts;
  CastRows rows() const { return {bitmaps, fields, sounds, scripts, 0}; }
};

inline BitmapRow bitmapRow(int32_t number, int32_t width, int32_t height, MediaBuilder::Blob blob, int32_t regX = 0,
                           int32_t regY = 0) {
  BitmapRow row{};
  row.number = number;
  row.castLib = 1;
  row.width = width;
  row.height = height;
  row.depth = 32;
  row.regX = regX;
  row.regY = regY;
  row.matteAlphaThreshold = 1;
  row.name = "";
  row.filename = "";
  row.offset = blob.offset;
  row.packedSize = blob.packed;
  row.unpackedSize = blob.unpacked;
  return row;
}

// The game's member 51, "gameTxt": white bold Tahoma 12, centred, on black.
inline FieldRow fieldRow(MediaBuilder::Blob blob) {
  FieldRow row{};
  row.number = 51;
  row.castLib = 1;
  row.width = 184;
  row.height = 15;
  row.color = 0xFFFFFF;
  row.bgColor = 0x000000;
  row.lineHeight = 15;
  row.alignment = 1;
  row.wordWrap = 1;
  row.font = "Tahoma";
  row.fontSize = 12;
  row.fontStyle = "bold";
  row.name = "gameTxt";
  row.offset = blob.offset;
  row.packedSize = blob.packed;
  row.unpackedSize = blob.unpacked;
  return row;
}

inline uint32_t pixelAt(const ImageBuffer& image, int32_t x, int32_t y) {
  uint32_t pixel;
  std::memcpy(&pixel, image.row(y) + 4 * x, 4);
  return pixel;
}

}  // namespace qn::testing
