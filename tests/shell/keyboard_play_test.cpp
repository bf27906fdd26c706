// The real game through the window's events, as a person without a mouse plays it: with a
// keyboard (Tab, Return, Space), with a game controller (shoulder buttons and A) or with a finger
// on a touch screen, on SDL's dummy video driver.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>

#include "engine/movie.h"
#include "game/channels.h"
#include "game/game_program.h"
#include "game/game_symbols.h"
#include "game/play_from_outside.h"
#include "platform/main_window.h"
#include "platform/mapped_file.h"
#include "shell/application.h"
#include "shell/input_recording.h"
#include "shell/window_input.h"

namespace qn {
namespace {

namespace ch = game::ch;
namespace s = game::s;

Value gameMode(const Application& application) {
  return game::modeOf(*application.movie());
}

class KeyboardPlay : public ::testing::Test {
 public:
  void TearDown() override {
    if (application_) application_->shutdown();
    std::remove(recordPath_.c_str());
  }

  void start(ShellOptions options = {}) {
    options.scale = 1;
    options.frames = 100000;  // on the frame clock every tick is one of the movie's frames
    application_ = std::make_unique<Application>(options, "shell-play-test");
    ASSERT_FALSE(application_->start(game::makeGameProgram));
    windowId_ = application_->window()->windowId();
    frames(2);
  }

  void key(SDL_Scancode scancode, Uint16 mod = KMOD_NONE, const char* typed = nullptr) {
    for (Uint32 type : {SDL_KEYDOWN, SDL_KEYUP}) {
      SDL_Event event{};
      event.type = type;
      event.key.windowID = windowId_;
      event.key.keysym.scancode = scancode;
      event.key.keysym.mod = type == SDL_KEYDOWN ? mod : Uint16{KMOD_NONE};
      SDL_PushEvent(&event);
      if (type == SDL_KEYDOWN && typed != nullptr) {
        SDL_Event text{};
        text.type = SDL_TEXTINPUT;
        text.text.windowID = windowId_;
        std::strncpy(text.text.text, typed, sizeof text.text.text - 1);
        SDL_PushEvent(&text);
      }
    }
  }
  void button(SDL_GameControllerButton which, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    event.cbutton.button = static_cast<Uint8>(which);
    SDL_PushEvent(&event);
  }
  void press(SDL_GameControllerButton which) {
    button(which, true);
    button(which, false);
  }

  // Turns of the loop until the movie has ticked `count` more frames (the window keeps to real time).
  void frames(uint32_t count) {
    const uint32_t until = application_->framesTicked() + count;
    while (application_->framesTicked() < until && application_->turn()) {
    }
  }
  // The recording played headless for as many frames, the game left to look at.
  void replayHeadless(uint32_t framesPlayed, const std::string& reportPath = {}) {
    ShellOptions replay;
    replay.headless = true;
    replay.replayPath = recordPath_;
    replay.reportPath = reportPath;
    replay.frames = framesPlayed;
    application_ = std::make_unique<Application>(replay, "shell-play-test");
    ASSERT_FALSE(application_->start(game::makeGameProgram));
    while (application_->turn()) {
    }
  }
  int32_t focused() const { return application_->windowInput()->focus().channel(); }
  // Steps the focus with `next` until it is on `channel`; false when it never comes.
  bool focusOn(int32_t channel, const std::function<void()>& next) {
    for (int step = 0; step < 64 && focused() != channel; ++step) {
      next();
      application_->turn();
    }
    return focused() == channel;
  }

  std::string recordPath_ = ::testing::TempDir() + "shell_keyboard_play.txt";
  std::unique_ptr<Application> application_;
  Uint32 windowId_ = 0;
};

TEST_F(KeyboardPlay, NoLetterOrFaceButtonQuitsOnlyTheChordsDo) {
  using Quit = std::function<void(KeyboardPlay&)>;
  for (const Quit& quit : {Quit([](KeyboardPlay& t) { t.key(SDL_SCANCODE_Q, KMOD_LCTRL); }),
                           Quit([](KeyboardPlay& t) {
                             t.button(SDL_CONTROLLER_BUTTON_BACK, true);
                             t.button(SDL_CONTROLLER_BUTTON_START, true);
                           })}) {
    ASSERT_NO_FATAL_FAILURE(start());
    key(SDL_SCANCODE_Z, KMOD_NONE, "z");
    key(SDL_SCANCODE_Q, KMOD_NONE, "q");
    key(SDL_SCANCODE_Q, KMOD_LSHIFT, "Q");
    for (SDL_GameControllerButton face : {SDL_CONTROLLER_BUTTON_A, SDL_CONTROLLER_BUTTON_B, SDL_CONTROLLER_BUTTON_X,
                                          SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_BACK,
                                          SDL_CONTROLLER_BUTTON_START})
      press(face);
    frames(2);
    ASSERT_FALSE(application_->loopEnded());
    EXPECT_TRUE(gameMode(*application_) == Value(s::waitstart));
    quit(*this);
    EXPECT_FALSE(application_->turn());
    EXPECT_EQ(application_->shutdown(), 0);
    application_.reset();
  }
}

// Start, set a slot, done: with the keyboard, then with a controller; the taps are recorded as
// stylus input, and the recording replays headless to the same game.
TEST_F(KeyboardPlay, KeyboardOrControllerAloneSetsUpAndStartsAnEnd) {
  struct Way {
    std::function<void(KeyboardPlay&)> next, tap;
  };
  const Way ways[] = {{[](KeyboardPlay& t) { t.key(SDL_SCANCODE_TAB); },
                       [](KeyboardPlay& t) { t.key(SDL_SCANCODE_RETURN); }},
                      {[](KeyboardPlay& t) { t.press(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER); },
                       [](KeyboardPlay& t) { t.press(SDL_CONTROLLER_BUTTON_A); }}};
  for (const Way& way : ways) {
    ShellOptions options;
    options.recordPath = recordPath_;
    ASSERT_NO_FATAL_FAILURE(start(options));
    auto next = [&] { way.next(*this); };
    auto tap = [&] {
      way.tap(*this);
      frames(2);
    };

    ASSERT_TRUE(focusOn(ch::startHotSpot, next));
    const IntRect startRect = application_->movie()->toWindow(application_->movie()->sprite(ch::startHotSpot).spriteRect);
    EXPECT_EQ(application_->window()->focusRing(),
              (platform::ScreenRect{startRect.left, startRect.top, startRect.right, startRect.bottom}));
    tap();
    ASSERT_TRUE(gameMode(*application_) == Value(s::setupPlayers));

    ASSERT_TRUE(focusOn(ch::slotKinds[1], next));
    EXPECT_EQ(application_->movie()->sprite(ch::slotKinds[1]).property(sym::memberNum).toInteger(), game::member::computer);
    tap();
    EXPECT_EQ(application_->movie()->sprite(ch::slotKinds[1]).property(sym::memberNum).toInteger(),
              game::member::notPlaying);

    ASSERT_TRUE(focusOn(ch::setupDone, next));
    tap();
    const Value mode = gameMode(*application_);
    EXPECT_TRUE(mode == Value(s::Init) || mode == Value(s::init2) || mode == Value(s::setWhiteRot));

    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = windowId_;
    motion.motion.xrel = 3;
    SDL_PushEvent(&motion);
    application_->turn();
    EXPECT_FALSE(application_->window()->focusRing()) << "the mouse takes over";
    const uint32_t framesPlayed = application_->framesTicked();
    application_->shutdown();
    application_.reset();

    std::string text, error;
    ASSERT_TRUE(platform::readWholeFile(recordPath_, text));
    std::vector<TimedInput> recorded;
    ASSERT_TRUE(parseRecording(text, recorded, error)) << error;
    std::string taps;
    for (const TimedInput& input : recorded) taps += formatRecordingLine(input).substr(formatRecordingLine(input).find(' ') + 1);
    EXPECT_EQ(std::count(taps.begin(), taps.end(), '\n'), 7) << "three taps and the move:\n" << taps;
    EXPECT_EQ(taps.find("key"), std::string::npos) << taps;

    ASSERT_NO_FATAL_FAILURE(replayHeadless(framesPlayed));
    EXPECT_TRUE(gameMode(*application_) == mode);
    EXPECT_EQ(application_->movie()->sprite(ch::slotKinds[1]).property(sym::memberNum).toInteger(),
              game::member::notPlaying);
    application_->shutdown();
    application_.reset();
  }
}

// Up pressed and released between two frames still starts the swing: the game sees the press.
TEST_F(KeyboardPlay, AKeyTappedWithinOneFrameCounts) {
  ShellOptions options;
  options.unpaced = true;
  start(options);
  auto next = [&] { key(SDL_SCANCODE_TAB); };
  for (int32_t channel : {ch::startHotSpot, ch::slotKinds[1], ch::setupDone}) {  // a person alone
    ASSERT_TRUE(focusOn(channel, next));
    key(SDL_SCANCODE_RETURN);
    frames(2);
  }
  for (int frame = 0; frame < 400 && !(gameMode(*application_) == s::setRot); ++frame) frames(1);
  ASSERT_TRUE(gameMode(*application_) == s::setRot);
  key(SDL_SCANCODE_UP);
  frames(1);
  EXPECT_TRUE(gameMode(*application_) == s::setpower);
}

// The demo taps through the set-up screen by itself until a person presses a key; then the
// screen waits for the person.
// A person alone plays a whole end with one finger: START, the set-up, then each ball's swing
// started and released on the power button; a second finger that touches a walk button while the
// first is down does nothing. The recording holds stylus taps, and replayed headless they play
// the same end.
TEST_F(KeyboardPlay, AFingerPlaysAnEndAsTheStylus) {
  const std::string reportPath = ::testing::TempDir() + "shell_finger_play.jsonl";
  ShellOptions options;
  options.recordPath = recordPath_;
  options.reportPath = reportPath;
  options.unpaced = true;
  ASSERT_NO_FATAL_FAILURE(start(options));
  auto centre = [this](int32_t channel) {
    const IntRect rect = application_->movie()->toWindow(application_->movie()->sprite(channel).spriteRect);
    return platform::ScreenPoint{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
  };
  auto finger = [&](Uint32 type, SDL_FingerID id, int32_t channel) {
    SDL_Event event{};
    event.type = type;
    event.tfinger.fingerId = id;
    event.tfinger.x = static_cast<float>(centre(channel).x) / platform::kScreenWidth;
    event.tfinger.y = static_cast<float>(centre(channel).y) / platform::kScreenHeight;
    SDL_PushEvent(&event);
    frames(1);
  };
  auto tap = [&](int32_t channel) {
    finger(SDL_FINGERDOWN, 1, channel);
    finger(SDL_FINGERUP, 1, channel);
  };
  tap(ch::startHotSpot);
  for (int tries = 0; tries < 3 && application_->movie()->sprite(ch::slotKinds[1]).property(sym::memberNum).toInteger() !=
                                        game::member::notPlaying;
       ++tries)
    tap(ch::slotKinds[1]);
  tap(ch::setupDone);
  int throws = 0;
  for (int frame = 0; frame < 3000 && !(gameMode(*application_) == s::waitstart); ++frame) {
    if (gameMode(*application_) == s::setRot) {
      tap(ch::powerButton);  // the swing starts
      frames(10);
      finger(SDL_FINGERDOWN, 1, ch::powerButton);
      finger(SDL_FINGERDOWN, 2, ch::walkButtons.first);
      finger(SDL_FINGERUP, 2, ch::walkButtons.first);
      finger(SDL_FINGERUP, 1, ch::powerButton);  // and is released
      ++throws;
    }
    frames(1);
  }
  ASSERT_TRUE(gameMode(*application_) == s::waitstart) << "the end came back to the menu";
  EXPECT_EQ(throws, 3);
  const std::string walkButton = std::to_string(centre(ch::walkButtons.first).x) + " " +
                                 std::to_string(centre(ch::walkButtons.first).y);
  const uint32_t framesPlayed = application_->framesTicked();
  application_->shutdown();
  application_.reset();
  std::string played, recorded;
  ASSERT_TRUE(platform::readWholeFile(reportPath, played));
  EXPECT_NE(played.find("\"type\":\"end\""), std::string::npos) << played;
  ASSERT_TRUE(platform::readWholeFile(recordPath_, recorded));
  EXPECT_EQ(recorded.find(walkButton), std::string::npos) << recorded;

  ASSERT_NO_FATAL_FAILURE(replayHeadless(framesPlayed, reportPath));
  application_->shutdown();
  application_.reset();
  std::string replayed;
  ASSERT_TRUE(platform::readWholeFile(reportPath, replayed));
  EXPECT_EQ(replayed, played);
  std::remove(reportPath.c_str());
}

TEST_F(KeyboardPlay, APersonsKeyEndsTheDemo) {
  ShellOptions options;
  options.demoGames = 0;  // for ever
  ASSERT_NO_FATAL_FAILURE(start(options));
  for (int frame = 0; frame < 300 && !(gameMode(*application_) == s::setupPlayers); ++frame) frames(1);
  ASSERT_TRUE(gameMode(*application_) == s::setupPlayers) << "the demo tapped START";
  key(SDL_SCANCODE_X, KMOD_NONE, "x");
  frames(90);
  EXPECT_TRUE(gameMode(*application_) == s::setupPlayers) << "the demo stopped tapping";
}

}  // namespace
}  // namespace qn
