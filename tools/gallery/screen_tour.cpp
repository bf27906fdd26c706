#include "tools/gallery/screen_tour.h"

#include <cmath>
#include <utility>

#include "engine/cast_table.h"
#include "game/play_from_outside.h"
#include "script/symbol_object.h"

namespace qn::gallery {

namespace {

namespace ch = game::ch;
namespace member = game::member;
namespace s = game::s;

using game::inMode, game::kMenuPause, game::kTapGap;

constexpr int32_t kHuman = member::human, kComputer = member::computer, kOff = member::notPlaying;
constexpr uint32_t kUpArrow = 38;        // the device's virtual key of the up arrow
constexpr uint32_t kTurnLimit = 6000;    // frames a game may take to come to a turn or its end
constexpr uint32_t kMomentLimit = 400;   // frames a moment within a turn may take
constexpr uint32_t kAimPatience = 150;   // frames spent aiming before throwing wherever it points
constexpr double kAimTolerance = 3.0;    // degrees between the arrow and the jack

// What the tour reads of the game: the engine object and its state.
Value engine(const Movie& movie) { return game::engineObjectOf(movie); }
Value balls(Movie& movie) { return engine(movie).getProperty(s::pBallList); }
Value players(Movie& movie) { return engine(movie).getProperty(s::playerList); }
Value sprite(Movie& movie, int32_t channel) { return Value::share(&movie.sprite(channel)); }
int32_t spriteInteger(Movie& movie, int32_t channel, SymbolNumber property) {
  return movie.sprite(channel).property(property).toInteger();
}

Value playerToThrow(Movie& movie) {
  return players(movie).item(engine(movie).getProperty(s::pPlayer).toInteger());
}
Value ballInHand(Movie& movie) { return balls(movie).item(engine(movie).getProperty(s::pball).toInteger()); }

bool personAiming(Movie& movie) {
  return inMode(movie, s::setRot) && playerToThrow(movie).getProperty(s::ai).toInteger() == 0;
}

int32_t ballsLeft(Movie& movie) {
  int32_t left = 0;
  for (int32_t index = 1; index <= players(movie).count(); ++index)
    left += players(movie).item(index).getProperty(s::ball).toInteger();
  return left;
}

bool effectRunning(Movie& movie, Symbol mode) {
  if (engine(movie).isVoid()) return false;
  const Value effects = engine(movie).getProperty(s::feffect);
  for (int32_t k = 1; k <= effects.count(); ++k)
    if (symbolOf(effects.item(k).getProperty(s::mode)) == mode.number) return true;
  return false;
}

double degreesBetween(double a, double b) {
  const double difference = std::fmod(a - b + 540.0, 360.0) - 180.0;
  return std::fabs(difference);
}

// The aiming arrow points at the jack: a ball thrown now rolls straight at it.
bool arrowOnTheJack(Movie& movie) {
  const Value arrow = sprite(movie, ch::aimingArrow);
  const Value from = arrow.getProperty(sym::loc);
  const Value jack = balls(movie).item(1).getProperty(s::pos);
  const double dx = jack.getProperty(sym::locH).toFloat() - from.getProperty(sym::locH).toFloat();
  const double dy = jack.getProperty(sym::locV).toFloat() - from.getProperty(sym::locV).toFloat();
  const double towardsJack = std::atan2(dy, dx) * 180.0 / 3.14159265358979;
  return degreesBetween(towardsJack, arrow.getProperty(sym::rotation).toFloat()) <= kAimTolerance;
}

// The power bar has reached the width at which a computer would let go: the jack's distance.
bool swingAtTheJacksDistance(Movie& movie) {
  const Value ball = ballInHand(movie);
  if (!inMode(movie, s::setpower) || ball.getProperty(s::rotspeed).toFloat() <= 0) return false;
  const double bar = movie.sprite(ch::powerBarUp).property(sym::width).toFloat();
  return bar >= engine(movie).getProperty(s::endwidth).toFloat() || ball.getProperty(s::zrot).toFloat() >= 170;
}

std::string textOf(Movie& movie, const char* field) {
  return stringOf(movie.cast().memberOf(Value(field)).getProperty(sym::text));
}

}  // namespace

ScreenTour::ScreenTour() : taken_(kScreens.size(), false) {
  waitFor("the menu", [](Movie& m) { return inMode(m, s::waitstart); }, kTurnLimit);
  pause(kMenuPause);
  take(Screen::menu);
  tap(ch::helpHotSpot);
  take(Screen::help);
  tap(ch::helpPage);

  // Game 1: Player One against Dael, the line-up the program starts with. Player One's first
  // turn shows the banner, the hint glows, the swing and the flight; the second is a fault; the
  // third looks at the top view first.
  startGame({kHuman, kComputer, kOff, kOff}, std::nullopt);
  waitFor("Player One's first turn", personAiming, kTurnLimit);
  pause(8);
  take(Screen::turnBanner);
  waitFor("the hint glows", [](Movie& m) { return spriteInteger(m, ch::glows[1], sym::blend) >= 65; }, kMomentLimit);
  take(Screen::aimingGlows);
  aimAtTheJack("Player One's first turn");
  waitFor("the swing two thirds up", [](Movie& m) {
    return inMode(m, s::setpower) && ballInHand(m).getProperty(s::zrot).toFloat() >= 120;
  }, kMomentLimit);
  take(Screen::powerSwing);
  add("the release", [](Movie& m) { return inMode(m, s::setpower); }, [](ScreenTour& t, Movie&) { t.pressUp(); },
      kMomentLimit);
  waitFor("the ball coming down", [](Movie& m) {
    const Value ball = ballInHand(m);
    const double height = ball.getProperty(s::deltaz).toFloat();
    return inMode(m, s::rollBall) && ball.getProperty(s::zspeed).toFloat() < 0 && height > 0 && height < 70;
  }, kMomentLimit);
  take(Screen::ballInFlight);
  throwAFault("Player One's second turn");
  waitFor("the fault's label", [shown = 0](Movie& m) mutable {
    shown = effectRunning(m, s::scalefault) || effectRunning(m, s::blendout) ? shown + 1 : 0;
    return shown >= 20;
  }, kTurnLimit);
  take(Screen::fault);
  waitFor("Player One's third turn", personAiming, kTurnLimit);
  pause(10);
  tap(ch::topViewButton);
  waitFor("the top view", [](Movie& m) { return inMode(m, s::showMap); }, kMomentLimit);
  pause(kTapGap);
  take(Screen::topView);
  tap(ch::topView);
  throwTowardsTheJack("Player One's third turn, after the top view");
  endOfGame(Screen::wins);

  // Game 2: three computers and Player Three; the set-up screen shows today's record. Game 3:
  // Player Three alone, whose distance is the longest text of an end. Game 4: alone again, and
  // every ball a fault.
  playGame({kComputer, kComputer, kHuman, kComputer}, Screen::setUpWithRecord, &ScreenTour::throwTowardsTheJack,
           "Player Three among computers", Screen::fourPlayerEnd);
  playGame({kOff, kOff, kHuman, kOff}, std::nullopt, &ScreenTour::throwTowardsTheJack, "Player Three alone",
           Screen::singlePlayerDistance);
  playGame({kOff, kOff, kHuman, kOff}, std::nullopt, &ScreenTour::throwAFault, "Player Three's faults",
           Screen::noBalls);

  // Game 5: two computers, tied before the last measuring.
  startGame({kComputer, kComputer, kOff, kOff}, std::nullopt);
  add("the last measuring", [](Movie& m) { return ballsLeft(m) == 0 && inMode(m, s::showResult); },
      [](ScreenTour& t, Movie& m) { t.stageTie(m); }, kTurnLimit);
  waitFor("the draw", [](Movie& m) { return inMode(m, s::waitMenu) && textOf(m, "gameTxt") == "Draw!"; }, 4);
  pause(20);
  take(Screen::draw);

  // Moments the game brings when it will.
  watches_ = {
      {Screen::knock, [](Movie& m) {  // two players' balls, both larger than the jack
         if (!inMode(m, s::rollBall)) return false;
         for (int32_t k = 2; k <= balls(m).count(); ++k)
           if (balls(m).item(k).getProperty(s::botsing).toInteger() > 1) return true;
         return false;
       }},
      {Screen::worm, [](Movie& m) {  // walking, away from the far end where it is smallest, no banner over it
         const int32_t x = spriteInteger(m, ch::worm, sym::locH), y = spriteInteger(m, ch::worm, sym::locV);
         return (inMode(m, s::setRot) || inMode(m, s::setpower) || inMode(m, s::rollBall)) &&
                symbolOf(engine(m).getProperty(s::wurm).getProperty(s::mode)) == s::walk && x >= 20 && x <= 220 &&
                y >= 50 && spriteInteger(m, ch::banner, sym::blend) == 0;
       }},
      {Screen::leader, [](Movie& m) {
         return effectRunning(m, s::floorScale) && spriteInteger(m, ch::floorRing, sym::blend) <= 50;
       }},
  };
}

ScreenTour::Moment ScreenTour::between(Movie& movie) {
  moment_ = {};
  for (const Watch& watch : watches_)
    if (!taken_[static_cast<size_t>(watch.screen)] && watch.seen(movie)) moment_.screens.push_back(watch.screen);
  if (release_) {
    moment_.input = std::exchange(release_, std::nullopt);
  } else {
    while (!finished()) {
      Step& step = steps_[next_];
      if (!step.ready(movie)) {
        if (++framesWaited_ > step.limit)
          failure_ = "the tour did not come to " + step.what + " within " + std::to_string(step.limit) + " frames";
        break;
      }
      step.act(*this, movie);
      ++next_;
      framesWaited_ = 0;
      if (moment_.input) break;  // one input a tick
    }
  }
  for (Screen screen : moment_.screens) taken_[static_cast<size_t>(screen)] = true;
  return moment_;
}

std::vector<Screen> ScreenTour::screensNotTaken() const {
  std::vector<Screen> missing;
  for (const ScreenInfo& info : kScreens)
    if (!taken_[static_cast<size_t>(info.screen)]) missing.push_back(info.screen);
  return missing;
}

void ScreenTour::add(std::string what, Condition ready, Action act, uint32_t limit) {
  steps_.push_back({std::move(what), std::move(ready), std::move(act), limit});
}

void ScreenTour::waitFor(std::string what, Condition ready, uint32_t limit) {
  add(std::move(what), std::move(ready), [](ScreenTour&, Movie&) {}, limit);
}

void ScreenTour::pause(uint32_t frames) {
  waitFor("the end of a pause", [left = frames](Movie&) mutable { return left-- == 0; }, frames + 1);
}

void ScreenTour::take(Screen screen) {
  add(infoOf(screen).caption, [](Movie&) { return true; },
      [screen](ScreenTour& t, Movie&) { t.moment_.screens.push_back(screen); }, 1);
}

// A tap at the centre of a sprite: down now, up on the next tick.
void ScreenTour::tapNow(Movie& movie, int32_t channel) {
  const IntPoint at = game::tapPointOn(movie, channel);
  const auto x = static_cast<uint32_t>(at.x), y = static_cast<uint32_t>(at.y);
  moment_.input = DeviceInput{InputKind::stylusDown, x, y};
  release_ = DeviceInput{InputKind::stylusUp, x, y};
}

void ScreenTour::tap(int32_t channel) {
  add("a tap", [](Movie&) { return true; }, [channel](ScreenTour& t, Movie& m) { t.tapNow(m, channel); }, 1);
  pause(kTapGap);
}

// The up arrow for one frame: starts the swing when aiming, lets go of the ball when swinging.
void ScreenTour::pressUp() {
  moment_.input = DeviceInput{InputKind::keyDown, kUpArrow};
  release_ = DeviceInput{InputKind::keyUp, kUpArrow};
}

void ScreenTour::startGame(const std::vector<int32_t>& kinds, std::optional<Screen> setUpScreen) {
  waitFor("the menu", [](Movie& m) { return inMode(m, s::waitstart); }, kTurnLimit);
  pause(kMenuPause);
  tap(ch::startHotSpot);
  waitFor("the set-up screen", [](Movie& m) { return inMode(m, s::setupPlayers); }, kMomentLimit);
  // Each slot in the order a line-up is set, with three tries: a kind button cycles through
  // three kinds.
  for (int32_t slot : game::LineUp(kinds).settingOrder()) {
    const int32_t wanted = kinds[static_cast<size_t>(slot)];
    const int32_t button = ch::slotKinds[slot];
    for (int taps = 0; taps < 3; ++taps) {
      add("a tap on a kind button", [](Movie&) { return true; }, [button, wanted](ScreenTour& t, Movie& m) {
        if (game::memberShownIn(m, button) != wanted) t.tapNow(m, button);
      }, 1);
      pause(kTapGap);
    }
    waitFor("slot " + std::to_string(slot + 1) + " set", [button, wanted](Movie& m) {
      return game::memberShownIn(m, button) == wanted;
    }, 1);
  }
  if (setUpScreen) take(*setUpScreen);
  tap(ch::setupDone);
  waitFor("the game under way", [](Movie& m) { return !inMode(m, s::setupPlayers); }, kMomentLimit);
}

// The swing starts once the arrow points at the jack (or when aiming has taken long enough).
void ScreenTour::aimAtTheJack(const std::string& turn) {
  add(turn + ": aiming at the jack", [waited = 0u](Movie& m) mutable {
    return ++waited > kAimPatience || arrowOnTheJack(m);
  }, [](ScreenTour& t, Movie&) { t.pressUp(); }, kAimPatience + 1);
}

void ScreenTour::throwTowardsTheJack(const std::string& turn) {
  waitFor(turn, personAiming, kTurnLimit);
  aimAtTheJack(turn);
  add(turn + ": letting go", swingAtTheJacksDistance, [](ScreenTour& t, Movie&) { t.pressUp(); }, kMomentLimit);
}

// Let go on the swing's way back: a feeble throw that stops short of the line.
void ScreenTour::throwAFault(const std::string& turn) {
  waitFor(turn, personAiming, kTurnLimit);
  add(turn + ": the swing", [](Movie&) { return true; }, [](ScreenTour& t, Movie&) { t.pressUp(); }, 1);
  add(turn + ": letting go on the way back", [](Movie& m) {
    return inMode(m, s::setpower) && ballInHand(m).getProperty(s::rotspeed).toFloat() < 0;
  }, [](ScreenTour& t, Movie&) { t.pressUp(); }, kMomentLimit);
}

void ScreenTour::playGame(const std::vector<int32_t>& kinds, std::optional<Screen> setUpScreen, Turn turn,
                          const std::string& game, Screen endScreen) {
  startGame(kinds, setUpScreen);
  for (const char* ball : {": first turn", ": second turn", ": third turn"}) (this->*turn)(game + ball);
  endOfGame(endScreen);
}

void ScreenTour::endOfGame(Screen screen) {
  waitFor("the end of the game", [](Movie& m) { return inMode(m, s::waitMenu); }, kTurnLimit);
  pause(20);
  take(screen);
}

// The balls of the player with fewer of them on the field are copied, spot and touching
// distance, onto the other player's balls: both best distances are then one and the same.
void ScreenTour::stageTie(Movie& movie) {
  std::vector<Value> ballsOf[2];
  for (int32_t k = 2; k <= balls(movie).count(); ++k) {
    const Value ball = balls(movie).item(k);
    const int32_t player = ball.getProperty(s::player).toInteger();
    if (player == 1 || player == 2) ballsOf[player - 1].push_back(ball);
  }
  if (ballsOf[0].empty() || ballsOf[1].empty()) {
    failure_ = "no tie to stage: a player has no ball on the field";
    return;
  }
  const bool firstHasFewer = ballsOf[0].size() <= ballsOf[1].size();
  const std::vector<Value>& from = ballsOf[firstHasFewer ? 0 : 1];
  const std::vector<Value>& onto = ballsOf[firstHasFewer ? 1 : 0];
  for (size_t j = 0; j < onto.size(); ++j) {
    const Value& source = from[j % from.size()];
    onto[j].setProperty(s::pos, source.getProperty(s::pos).duplicate());
    onto[j].setProperty(s::oldNull, source.getProperty(s::oldNull));
  }
}

}  // namespace qn::gallery
