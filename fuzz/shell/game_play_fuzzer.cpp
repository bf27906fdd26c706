// Random play: the input's bytes become what a person does with the stylus and the keys (taps,
// held presses, drags, double taps, keys, typed characters, and time passing), played on the
// real game by the program itself, headless on its frame clock, for at most a few thousand
// frames. Most actions aim at what the screen offers a tap (its buttons and hot spots, the walk
// buttons while a person aims), so play goes deep: the set-up, throws, the top view, the menu
// button mid-throw, quitting. After every frame the game's invariants are checked; at the end,
// unless the person quit, a person's way back to the menu must bring the menu back.
// A broken invariant ends the run with the rule, what was seen, and the input as a `--replay`
// recording that plays it again. With BOULES_PLAY_RECORDING set, every input's recording is
// written to that file, to watch what an input does (`boules --replay FILE --screenshot ...`).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/movie.h"
#include "engine/sprite_channel.h"
#include "game/channels.h"
#include "game/game_invariants.h"
#include "game/game_program.h"
#include "game/play_from_outside.h"
#include "platform/screen_point.h"
#include "shell/application.h"
#include "shell/input_recording.h"
#include "shell/tap_focus.h"

namespace {

using qn::DeviceInput;
using qn::InputKind;
using qn::platform::kScreenHeight;
using qn::platform::kScreenWidth;

constexpr uint32_t kMostFrames = 2400;    // 80 seconds of play: a game of two or three players
constexpr int kLongestWait = 600;         // a wait for the mode to change: a throw, a computer's turn

// The device's keys a person presses, as virtual keys: the arrows (walk, and up to start and
// release the swing) most, then the keyboard's and the device's other buttons; the last entry
// takes the virtual key from the next byte, which may be one that quits.
constexpr uint8_t kKeys[] = {37, 39, 38, 38, 37, 39, 38, 40, 13, 32, 27, 8, 196, 194, 134, 0};

// What a person does next, chosen by a byte: taps on the screen's targets most.
enum class Action : uint8_t { tapTarget, holdTarget, tapPoint, drag, doubleTap, key, character, wait, waitForMode };
constexpr Action kActions[16] = {Action::tapTarget,  Action::tapTarget, Action::tapTarget, Action::tapTarget,
                                 Action::tapTarget,  Action::holdTarget, Action::holdTarget, Action::tapPoint,
                                 Action::drag,       Action::doubleTap, Action::key,       Action::key,
                                 Action::character,  Action::wait,      Action::wait,      Action::waitForMode};

// The input's bytes, read one at a time; zeros once they run out.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : at_(data), end_(data + size) {}
  bool empty() const { return at_ == end_; }
  uint8_t next() { return at_ < end_ ? *at_++ : 0; }

 private:
  const uint8_t* at_;
  const uint8_t* end_;
};

class RandomPlay {
 public:
  RandomPlay() : application_(headless(), "boules") {
    if (application_.start(qn::game::makeGameProgram)) fail("the program starts", "it ended at once");
    frame();  // the movie starts: the menu
  }
  ~RandomPlay() {
    application_.shutdown();
    if (const char* path = std::getenv("BOULES_PLAY_RECORDING")) {
      qn::InputRecorder recorder;
      if (recorder.open(path))
        for (const qn::TimedInput& event : recording_) recorder.write(event.frame, event.input);
    }
  }

  // Every action lets go of what it pressed, so the way back starts with nothing held.
  void play(Bytes bytes) {
    while (!bytes.empty() && timeLeft() && running()) act(bytes);
    if (!running()) return;  // the person quit
    const std::optional<qn::game::BrokenInvariant> broken = qn::game::returnToMenu(
        movie(), [this](int32_t channel) { tap(pointOn(channel)); }, [this] { frame(); });
    if (broken && running()) fail(broken->rule, broken->seen);
  }

 private:
  static qn::ShellOptions headless() {
    qn::ShellOptions options;
    options.headless = true;
    return options;
  }

  const qn::Movie& movie() const { return *application_.movie(); }
  bool running() const { return !application_.loopEnded(); }
  bool timeLeft() const { return application_.framesTicked() < kMostFrames; }

  void act(Bytes& bytes) {
    switch (kActions[bytes.next() % 16]) {
      case Action::tapTarget: press(target(bytes.next()), bytes.next() % 4); break;
      case Action::holdTarget: press(target(bytes.next()), bytes.next() % 64); break;
      case Action::tapPoint: press(screenPoint(bytes), bytes.next() % 4); break;
      case Action::drag: drag(bytes); break;
      case Action::doubleTap: {
        const Point at = target(bytes.next());
        press(at, 0);
        send({InputKind::doubleTap, at.x, at.y});
        frame();
        send({InputKind::stylusUp, at.x, at.y});
        frame();
        break;
      }
      case Action::key: {
        const uint8_t chosen = kKeys[bytes.next() % sizeof kKeys];
        const uint32_t vk = chosen != 0 ? chosen : bytes.next();
        send({InputKind::keyDown, vk});
        frames(1 + bytes.next() % 64);
        send({InputKind::keyUp, vk});
        frame();
        break;
      }
      case Action::character:
        send({InputKind::character, bytes.next()});
        frame();
        break;
      case Action::wait: frames(1 + bytes.next()); break;
      case Action::waitForMode: {
        const qn::Value mode = qn::game::modeOf(movie());
        for (int waited = 0; waited < kLongestWait && timeLeft() && running() && qn::game::modeOf(movie()) == mode;
             ++waited)
          frame();
        break;
      }
    }
  }

  struct Point {
    uint32_t x, y;
  };

  // A point where a tap reaches one of the targets the screen offers (chosen by `choice`): its
  // buttons and hot spots, and while a person aims the walk buttons, which answer a held stylus.
  Point target(uint8_t choice) const {
    std::vector<Point> points;
    for (const qn::TapTarget& offered : qn::tapTargets(movie()))
      points.push_back({uint32_t(offered.point.x), uint32_t(offered.point.y)});
    for (int32_t channel = qn::game::ch::walkButtons.first; channel <= qn::game::ch::walkButtons.last; ++channel)
      if (movie().channelVisible(channel)) points.push_back(centreOf(channel));
    if (points.empty()) return {kScreenWidth / 2, kScreenHeight / 2};
    return points[choice % points.size()];
  }

  Point pointOn(int32_t channel) const {
    for (const qn::TapTarget& offered : qn::tapTargets(movie()))
      if (offered.channel == channel) return {uint32_t(offered.point.x), uint32_t(offered.point.y)};
    return centreOf(channel);
  }

  Point centreOf(int32_t channel) const {
    const qn::SpriteChannel* sprite = movie().spriteIn(channel);
    if (!sprite) return {kScreenWidth / 2, kScreenHeight / 2};
    const qn::IntRect& rect = sprite->spriteRect;
    return {uint32_t((rect.left + rect.right) / 2) & 0xFFFF, uint32_t((rect.top + rect.bottom) / 2) & 0xFFFF};
  }

  static uint32_t wide(Bytes& bytes) {
    const uint32_t high = bytes.next();
    return high << 8 | bytes.next();
  }

  // Anywhere on the screen, or now and then anywhere the device's 16 bits reach.
  static Point screenPoint(Bytes& bytes) {
    const uint8_t x = bytes.next(), y = bytes.next();
    if (x == 0xFF && y == 0xFF) return {wide(bytes), wide(bytes)};
    return {x * kScreenWidth / 255u, y * kScreenHeight / 255u};
  }

  void drag(Bytes& bytes) {
    Point at = target(bytes.next());
    send({InputKind::stylusDown, at.x, at.y});
    frame();
    for (int moves = bytes.next() % 8; moves > 0; --moves) {
      at = screenPoint(bytes);
      send({InputKind::stylusMove, at.x, at.y});
      frame();
    }
    send({InputKind::stylusUp, at.x, at.y});
    frame();
  }

  // The stylus down at a point, held for `held` frames, and up again.
  void press(Point at, int held) {
    send({InputKind::stylusDown, at.x, at.y});
    frames(1 + held);
    send({InputKind::stylusUp, at.x, at.y});
    frame();
  }
  void tap(Point at) { press(at, 0); }

  void send(const DeviceInput& input) {
    if (!running()) return;
    recording_.push_back({application_.framesTicked(), input});
    application_.input(input);
  }

  void frames(int count) {
    for (int i = 0; i < count && timeLeft(); ++i) frame();
  }

  // One turn of the program's loop, then the invariants.
  void frame() {
    if (!running() || !application_.turn()) return;
    if (std::optional<qn::game::BrokenInvariant> broken = qn::game::brokenInvariant(movie()))
      fail(broken->rule, broken->seen);
  }

  [[noreturn]] void fail(const std::string& rule, const std::string& seen) const {
    std::fprintf(stderr, "game_play_fuzzer: frame %u: broken invariant: %s (%s)\n", application_.framesTicked(),
                 rule.c_str(), seen.c_str());
    std::fprintf(stderr, "The input as a recording (boules --headless --replay FILE):\n");
    for (const qn::TimedInput& event : recording_) std::fputs(qn::formatRecordingLine(event).c_str(), stderr);
    std::abort();
  }

  qn::Application application_;
  std::vector<qn::TimedInput> recording_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  RandomPlay().play(Bytes(data, size));
  return 0;
}
