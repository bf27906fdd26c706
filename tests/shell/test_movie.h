// A small movie for the shell's tests: a 240 x 320 stage of one colour at 30 frames a second with
// one actor that paints a 6 x 6 square under the stylus while it is down, in a colour made from
// the last key code, so the screen shows what input arrived. Its services are kept minimal:
// an empty cast, media that always binds, and the real stage images and mixer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/cast_table.h"
#include "engine/media_service.h"
#include "engine/movie.h"
#include "gfx/stage_images.h"
#include "sound/sound_mixer.h"
#include "sound/sound_service.h"
#include "tests/engine/fake_cast.h"
#include "tests/engine/fake_services.h"

namespace qn::test {

struct TestMovieSettings {
  uint32_t stageColor = 0x3366CC;
  bool exitLock = false;
  int32_t orientation = 0;
  int32_t colorDepth = 16;
};

class TestMovie final : public Movie {
 public:
  // The services live in the movie's own holder, made before the Movie base.
  static Value make(DisplayHost& display, SoundMixer& mixer, const TestMovieSettings& settings = {});

  Value createBehaviours(int32_t, int32_t) override { return Value(); }
  void createScriptInstance(Value& result, int32_t, int32_t) override { result = Value(0); }
  bool defineMovie() override;
  void resetGlobals(Value& result) override { result = Value(); }
  bool handle(SymbolNumber method, int argc, Value& result, Value* const* argv, bool flag) override;

  int activations = 0;
  int deactivations = 0;
  int framesStepped = 0;

 private:
  struct Services;
  TestMovie(DisplayHost& display, std::unique_ptr<Services> services, const TestMovieSettings& settings);
  ~TestMovie() override;

  std::unique_ptr<Services> own_;
  TestMovieSettings settings_;
};

}  // namespace qn::test
