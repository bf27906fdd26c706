// The real game on the real media file, headless, on a frame clock: every `frame()` moves the
// clock one frame interval and ticks the movie once. Driven only as a person drives it: stylus
// down and up at a point, keys held and released.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/movie.h"
#include "game/game_movie.h"
#include "game/channels.h"
#include "game/game_symbols.h"
#include "game/play_from_outside.h"
#include "sound/sound_mixer.h"
#include "tests/engine/fake_services.h"

namespace qn::game::testing {

// What the rules told of the game, kept for a test to look at.
struct ToldEvents final : GameObserver {
  int endsStarted = 0;
  std::vector<ThrowReleased> throws;
  std::vector<BallRemoved> removed;

  void endStarted() override { ++endsStarted; }
  void throwReleased(const ThrowReleased& release) override { throws.push_back(release); }
  void ballRemoved(const BallRemoved& gone) override { removed.push_back(gone); }
};

class GameHarness {
 public:
  static constexpr int32_t kFrameMs = 1000 / 30;

  // Without an audio device, as in CI; with one, a device that never finishes a block, so that a
  // started sound stays busy. The display is 32-bit unless another format is asked for (the
  // benchmarks take the program's own, 5-6-5).
  explicit GameHarness(bool withAudioDevice = false, int32_t displayFormat = kDisplay32);
  ~GameHarness();

  Movie& movie() { return *movie_; }
  // The game, whose rule events a test can follow, and what it told so far.
  GameMovie& game() { return *game_; }
  const ToldEvents& told() const { return told_; }
  // Nobody follows the game any more, not even the harness.
  void followNothing() { game_->observers().remove(told_); }
  int32_t framesRun() const { return frames_; }

  void frame();
  void frames(int count);
  // Runs frames until the mode is `mode`; false when `limit` frames passed first.
  bool runUntilMode(Symbol mode, int limit);

  // A person's touch: down, one frame, up, one frame.
  void tap(int32_t x, int32_t y);
  // A tap at the centre of the rect the sprite in `channel` covers now.
  void tapChannel(int32_t channel);
  // The stylus put down on that centre and held there, frame after frame; then lifted.
  void touchChannel(int32_t channel);
  void lift();
  void holdKey(int32_t code) { display_.keysDown.insert(code); }
  void releaseKey(int32_t code) { display_.keysDown.erase(code); }

  // The engine object, its state and the texts on screen.
  Value engineObject() { return engineObjectOf(*movie_); }
  Value engine(Symbol property) { return engineObject().getProperty(property); }
  Value pList(Symbol key);
  Value mode() { return pList(s::mode); }
  std::string fieldText(const char* name);
  // A player's best distance in the movie global `distances` (#Dist1 to #Dist4).
  double globalDistance(Symbol key);
  Value spriteProperty(int32_t channel, SymbolNumber property);
  const qn::testing::FakeDisplay& display() const { return display_; }

  // The setup a person makes: slot kinds (203 human, 204 computer, 205 not playing) set by taps on
  // the kind buttons (game/play_from_outside.h), then done. False when a slot could not be set.
  bool startGameWith(const std::vector<int32_t>& kinds);
  // A person alone, up to their first turn (#setRot); false when it did not come.
  bool startAloneToFirstTurn();

 private:
  qn::testing::FakeDisplay display_;
  std::unique_ptr<SoundMixer> mixer_;
  Value held_;
  Movie* movie_ = nullptr;
  GameMovie* game_ = nullptr;
  ToldEvents told_;
  int frames_ = 0;
};

}  // namespace qn::game::testing
