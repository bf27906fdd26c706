#include "tests/game/game_harness.h"

#include "game/game_movie.h"
#include "game/game_program.h"
#include "platform/fake_wave_output.h"
#include "script/symbol_object.h"

namespace qn::game::testing {

GameHarness::GameHarness(bool withAudioDevice, int32_t displayFormat) {
  initValueModel();
  display_.format = displayFormat;
  display_.clock = 0;
  const uint32_t offeredFormats = withAudioDevice ? platform::kAll8BitFormats : 0;
  mixer_ = std::make_unique<SoundMixer>(22050, true, std::make_unique<platform::FakeWaveOutput>(offeredFormats));
  // As the program does on its frame clock; with a device the tests let the device decide.
  if (!withAudioDevice) mixer_->followClock([this] { return static_cast<uint32_t>(display_.clock); });
  GameProgram program = makeGameProgram(display_, *mixer_);
  held_ = program.movie;
  movie_ = game_ = program.game;
  game_->observers().add(told_);
  movie_->defineMovie();
  frame();
}

GameHarness::~GameHarness() {
  game_->observers().remove(told_);
  held_ = Value();
  mixer_.reset();
  shutdownValueModel();
}

void GameHarness::frame() {
  display_.clock += kFrameMs;
  movie_->tick();
  ++frames_;
}

void GameHarness::frames(int count) {
  for (int i = 0; i < count; ++i) frame();
}

bool GameHarness::runUntilMode(Symbol wanted, int limit) {
  for (int i = 0; i < limit; ++i) {
    if (mode() == wanted) return true;
    frame();
  }
  return mode() == wanted;
}

void GameHarness::tap(int32_t x, int32_t y) {
  movie_->mouseDown({x, y});
  frame();
  lift();
  frame();
}

void GameHarness::tapChannel(int32_t channel) {
  touchChannel(channel);
  frame();
  lift();
  frame();
}

void GameHarness::touchChannel(int32_t channel) {
  movie_->mouseDown(tapPointOn(*movie_, channel));
}

void GameHarness::lift() { movie_->mouseUp(movie_->stylusPoint()); }

Value GameHarness::pList(Symbol key) { return engine(s::pList).getProperty(key); }

std::string GameHarness::fieldText(const char* name) {
  return stringOf(movie_->cast().memberOf(Value(name)).getProperty(sym::text));
}

double GameHarness::globalDistance(Symbol key) {
  return static_cast<GameMovie&>(*movie_).globals().distances.getProperty(key).toFloat();
}

Value GameHarness::spriteProperty(int32_t channel, SymbolNumber property) {
  return movie_->sprite(channel).property(property);
}

bool GameHarness::startGameWith(const std::vector<int32_t>& kinds) {
  tapChannel(ch::startHotSpot);
  LineUp lineUp(kinds);
  while (std::optional<int32_t> kindButton = lineUp.nextTap(*movie_)) tapChannel(*kindButton);
  bool allSet = true;
  for (size_t slot = 0; slot < kinds.size(); ++slot)
    allSet = allSet && memberShownIn(*movie_, ch::slotKinds[static_cast<int32_t>(slot)]) == kinds[slot];
  tapChannel(ch::setupDone);
  return allSet;
}

bool GameHarness::startAloneToFirstTurn() {
  return startGameWith({member::human, member::notPlaying}) && runUntilMode(s::setRot, 400);
}

}  // namespace qn::game::testing
