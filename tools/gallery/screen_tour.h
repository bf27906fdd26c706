// The gallery's tour of the game: five games played headless, as a person plays them, that pass
// every screen of the gallery. Between two ticks the tour looks at the game (its modes, records
// and sprites, never changing them) and answers with the input a person would give now (a tap at
// a sprite, the up arrow pressed for one frame) and the screens whose moment has come; the caller
// takes the screen as the last tick left it.
//
// Most screens come in the order the tour plays them; a few moments come when the game brings
// them (a knock between balls, the worm walking, the leader marker coming down) and are taken the
// first time they are seen. The only change the tour makes to the game's state is the staged tie
// of the last game: a draw needs two best distances equal to the last bit, which play does not
// make; before the last measuring one computer's balls are put on the other's spots.
//
// A step that does not come within its frame limit ends the tour with a failure naming it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "engine/movie.h"
#include "net/device_input.h"
#include "tools/gallery/gallery_screens.h"

namespace qn::gallery {

class ScreenTour {
 public:
  ScreenTour();

  struct Moment {
    std::optional<DeviceInput> input;  // to give before the next tick
    std::vector<Screen> screens;       // to take now
  };
  // Called once after every tick (and once before the first).
  Moment between(Movie& movie);

  bool finished() const { return next_ >= steps_.size() || !failure_.empty(); }
  // Why the tour ended early; empty while it goes well.
  const std::string& failure() const { return failure_; }
  // The screens the moment of which never came.
  std::vector<Screen> screensNotTaken() const;

 private:
  using Condition = std::function<bool(Movie&)>;
  using Action = std::function<void(ScreenTour&, Movie&)>;
  struct Step {
    std::string what;  // "Player One's second turn"
    Condition ready;
    Action act;
    uint32_t limit;    // frames to wait for `ready`
  };
  struct Watch {
    Screen screen;
    Condition seen;
  };

  void add(std::string what, Condition ready, Action act, uint32_t limit);
  void waitFor(std::string what, Condition ready, uint32_t limit);
  void pause(uint32_t frames);
  void take(Screen screen);
  void tap(int32_t channel);
  void tapNow(Movie& movie, int32_t channel);
  void pressUp();
  void stageTie(Movie& movie);

  // Parts of the tour.
  void startGame(const std::vector<int32_t>& kinds, std::optional<Screen> setUpScreen);
  void aimAtTheJack(const std::string& turn);
  void throwTowardsTheJack(const std::string& turn);
  void throwAFault(const std::string& turn);
  void endOfGame(Screen screen);
  // A game whose person throws each of their three balls by `turn`.
  using Turn = void (ScreenTour::*)(const std::string& turn);
  void playGame(const std::vector<int32_t>& kinds, std::optional<Screen> setUpScreen, Turn turn,
                const std::string& game, Screen endScreen);

  std::vector<Step> steps_;
  std::vector<Watch> watches_;
  std::vector<bool> taken_;
  size_t next_ = 0;
  uint32_t framesWaited_ = 0;
  std::optional<DeviceInput> release_;  // the up of a tap or key, due on the tick after its down
  Moment moment_;
  std::string failure_;
};

}  // namespace qn::gallery
