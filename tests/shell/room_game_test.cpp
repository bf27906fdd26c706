// Rooms played whole: the desktop program on several devices and boules-server, on loopback.
//
// A local game of two people is played and recorded first (in this process, headless, through
// the program's own input path), with the seat that has the say at every frame. Each device of
// the room then gets its own copy of that recording: the original input in its own turns, and
// other input (taps, the up key) in everyone else's, which would make another game of it if it
// reached the game. Every device's report must be the local replay's of the original, byte for
// byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "game/game_program.h"
#include "net/build_id.h"
#include "net/room_link.h"
#include "net/room_protocol.h"
#include "platform/web_socket.h"
#include "game/play_from_outside.h"
#include "game/say_rule.h"
#include "platform/mapped_file.h"
#include "shell/application.h"
#include "shell/input_recording.h"
#include "tests/shell/child_process.h"
#include "tests/shell/delaying_proxy.h"

namespace qn {
namespace {

namespace ch = game::ch;
namespace member = game::member;
namespace s = game::s;
using testing::ChildProcess;
using testing::DelayingProxy;
using testing::Delays;

constexpr uint32_t kVirtualLeft = 37, kVirtualUp = 38, kVirtualRight = 39;
constexpr int kLineTimeoutMs = 20'000;
constexpr int kGameTimeoutMs = 60'000;

// Two people sharing one device, as the test plays them: START, both slots set to a person and
// the others to nobody, done; in each turn a walk, then the swing started and released with the
// up key a while later. Back on the menu after the end, they stop.
class TwoPeople {
 public:
  explicit TwoPeople(uint32_t seed) : random_(seed) {}

  // The input before the tick of `frame`.
  std::vector<DeviceInput> before(uint32_t frame, const Movie& movie) {
    if (queued_.empty() && frame >= waitUntil_) plan(frame, movie);
    std::vector<DeviceInput> due;
    while (!queued_.empty() && queued_.front().frame <= frame) {
      due.push_back(queued_.front().input);
      queued_.erase(queued_.begin());
    }
    return due;
  }
  bool done() const { return done_; }

 private:
  uint32_t between(uint32_t low, uint32_t high) { return std::uniform_int_distribution<uint32_t>(low, high)(random_); }
  void press(uint32_t frame, uint32_t key, uint32_t held) {
    queued_.push_back({frame, {InputKind::keyDown, key}});
    queued_.push_back({frame + held, {InputKind::keyUp, key}});
  }
  void tap(uint32_t frame, const Movie& movie, int32_t channel) {
    const IntPoint at = game::tapPointOn(movie, channel);
    queued_.push_back({frame, {InputKind::stylusDown, static_cast<uint32_t>(at.x), static_cast<uint32_t>(at.y)}});
    queued_.push_back({frame + 1, {InputKind::stylusUp, static_cast<uint32_t>(at.x), static_cast<uint32_t>(at.y)}});
    waitUntil_ = frame + game::kTapGap;
  }
  void plan(uint32_t frame, const Movie& movie) {
    if (game::inMode(movie, s::waitstart)) {
      if (started_) done_ = true;
      else if (frame >= game::kMenuPause) tap(frame, movie, ch::startHotSpot);
    } else if (game::inMode(movie, s::setupPlayers)) {
      started_ = true;
      if (std::optional<int32_t> kind = lineUp_.nextTap(movie)) tap(frame, movie, *kind);
      else tap(frame, movie, ch::setupDone);
    } else if (game::inMode(movie, s::setRot) && game::seatWithTheSay(movie) != 0) {
      uint32_t at = frame + between(5, 20);
      if (between(0, 1) == 1) {
        const uint32_t walk = between(3, 12);
        press(at, between(0, 1) == 1 ? kVirtualLeft : kVirtualRight, walk);
        at += walk + between(2, 10);
      }
      press(at, kVirtualUp, 1);
      const uint32_t release = at + between(6, 30);
      press(release, kVirtualUp, 1);
      waitUntil_ = release + 10;
    }
  }

  std::mt19937 random_;
  std::vector<TimedInput> queued_;
  game::LineUp lineUp_{{member::human, member::human, member::notPlaying, member::notPlaying}};
  uint32_t waitUntil_ = 0;
  bool started_ = false;
  bool done_ = false;
};

struct LocalGame {
  std::vector<TimedInput> input;
  std::vector<int32_t> seatByFrame;  // the seat with the say before each frame's tick
};

// Plays the two people's game headless, recording it; 30 frames after it came back to the menu.
LocalGame playLocally(uint32_t seed, const std::string& recordPath) {
  ShellOptions options;
  options.headless = true;
  options.recordPath = recordPath;
  LocalGame game;
  {
    Application application(options, "room-game-test");
    EXPECT_FALSE(application.start(game::makeGameProgram));
    TwoPeople people(seed);
    uint32_t after = 0;
    while (after < 30 && application.framesTicked() < 20'000) {
      const uint32_t frame = application.framesTicked();
      game.seatByFrame.push_back(game::seatWithTheSay(*application.movie()));
      for (const DeviceInput& input : people.before(frame, *application.movie())) application.input(input);
      if (!application.turn()) break;
      if (people.done()) ++after;
    }
    application.shutdown();
  }
  std::string error;
  EXPECT_TRUE(loadRecording(recordPath, game.input, error)) << error;
  return game;
}

// A device's copy: the original input in the frames whose seat is one of `own`, and input that
// would change the game in the others' (an up key, a tap mid-screen), every 7th frame.
std::string copyFor(const LocalGame& game, const std::vector<int32_t>& own) {
  auto owns = [&](size_t frame) {
    const int32_t seat = frame < game.seatByFrame.size() ? game.seatByFrame[frame] : 0;
    return std::find(own.begin(), own.end(), seat) != own.end();
  };
  std::vector<TimedInput> copy;
  for (const TimedInput& event : game.input)
    if (owns(event.frame)) copy.push_back(event);
  for (uint32_t frame = 0; frame + 1 < game.seatByFrame.size(); frame += 7) {
    if (owns(frame) || owns(frame + 1)) continue;
    const bool key = frame / 7 % 2 == 0;
    copy.push_back({frame, key ? DeviceInput{InputKind::keyDown, kVirtualUp} : DeviceInput{InputKind::stylusDown, 120, 200}});
    copy.push_back({frame + 1, key ? DeviceInput{InputKind::keyUp, kVirtualUp} : DeviceInput{InputKind::stylusUp, 120, 200}});
  }
  std::stable_sort(copy.begin(), copy.end(), [](const TimedInput& a, const TimedInput& b) { return a.frame < b.frame; });
  std::string text;
  for (const TimedInput& event : copy) text += formatRecordingLine(event);
  return text;
}

std::string readFile(const std::string& path) {
  std::string text;
  platform::readWholeFile(path, text);
  return text;
}

void writeFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

// Empty when the reports are the same, else their first line that differs.
std::string firstDifference(const std::string& report, const std::string& expected) {
  std::istringstream got(report), wanted(expected);
  std::string gotLine, wantedLine;
  for (int line = 1;; ++line) {
    const bool more = static_cast<bool>(std::getline(got, gotLine)), expectedMore = static_cast<bool>(std::getline(wanted, wantedLine));
    if (!more && !expectedMore) return {};
    if (gotLine != wantedLine || more != expectedMore)
      return "line " + std::to_string(line) + ": " + (more ? gotLine : "(none)") + "\n expected: " + (expectedMore ? wantedLine : "(none)");
  }
}

// How many throws a report holds so far.
size_t throwsIn(const std::string& report) {
  size_t count = 0;
  for (size_t at = report.find("\"type\":\"throw\""); at != std::string::npos; at = report.find("\"type\":\"throw\"", at + 1)) ++count;
  return count;
}

class RoomGame : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = ::testing::TempDir() + "room_game_" + std::to_string(::getpid()) + "/";
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  std::string path(const std::string& name) const { return folder_ + name; }

  // The local game, each device's copy of it, and its local replay's report (started).
  void prepare() {
    const LocalGame game = playLocally(37, path("original.rec"));
    ASSERT_FALSE(HasFailure());
    ASSERT_NE(std::count(game.seatByFrame.begin(), game.seatByFrame.end(), 2), 0) << "the second person never had a turn";
    frames_ = std::to_string(game.seatByFrame.size());
    writeFile(path("host.rec"), copyFor(game, {0, 1}));
    writeFile(path("guest.rec"), copyFor(game, {2}));
    local_ = device("local", {"--replay", path("original.rec"), "--frames", frames_, "--report", path("local.jsonl")});
  }
  // boules-server on `port` of the loopback (0: a free one); its ws:// address.
  std::string startServer(uint16_t port = 0) {
    server_ = std::make_unique<ChildProcess>(std::vector<std::string>{BOULES_SERVER_PROGRAM, "--listen",
                                                                      "127.0.0.1:" + std::to_string(port), "--store",
                                                                      path("rooms.sqlite")},
                                             path("server.err"));
    std::optional<std::string> line = server_->readLine(kLineTimeoutMs);
    if (!line || line->rfind("listening on ", 0) != 0) return {};
    return line->substr(std::string("listening on ").size());
  }
  // The program with `arguments` after it, headless, its standard error kept in `name`.err.
  std::unique_ptr<ChildProcess> device(const std::string& name, std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {BOULES_PROGRAM, "--headless"});
    return std::make_unique<ChildProcess>(arguments, path(name + ".err"));
  }
  // The host opens a room on `server` and the guest joins it with seat 2, each with its copy;
  // the room's link and the guest's own.
  void startHostAndGuest(const std::string& server, const std::vector<std::string>& pace = {}, bool byShortCode = false) {
    std::vector<std::string> hosting = {"--host", "--server", server, "--wait-for", "2", "--replay", path("host.rec"),
                                        "--frames", frames_, "--report", path("host.jsonl")};
    hosting.insert(hosting.end(), pace.begin(), pace.end());
    host_ = device("host", hosting);
    const std::optional<std::string> link = host_->readLine(kLineTimeoutMs);
    ASSERT_TRUE(link) << readFile(path("host.err"));
    link_ = *link;
    std::vector<std::string> joining = guestArguments(link_, "guest.jsonl", pace);
    if (byShortCode) {
      // The host's own link, then the room's short code.
      std::optional<std::string> code;
      for (int line = 0; line < 2 && !(code && code->rfind("code ", 0) == 0); ++line) code = host_->readLine(kLineTimeoutMs);
      ASSERT_TRUE(code && code->rfind("code ", 0) == 0) << readFile(path("host.err"));
      joining[1] = code->substr(5);
      joining.insert(joining.end(), {"--server", server});
    }
    guest_ = device("guest", joining);
    const std::optional<std::string> own = guest_->readLine(kLineTimeoutMs);
    ASSERT_TRUE(own) << readFile(path("guest.err"));
    guestLink_ = *own;
  }
  std::vector<std::string> guestArguments(const std::string& link, const std::string& report, const std::vector<std::string>& pace) {
    std::vector<std::string> joining = {"--join", link, "--replay", path("guest.rec"), "--frames", frames_, "--report", path(report)};
    if (link.find("&key=") == std::string::npos) joining.insert(joining.end(), {"--seat", "2"});
    joining.insert(joining.end(), pace.begin(), pace.end());
    return joining;
  }
  // Waits until the host's report holds `count` throws (false after `seconds`).
  bool waitForThrows(size_t count, int seconds) {
    for (int tenth = 0; tenth < seconds * 10; ++tenth) {
      if (throwsIn(readFile(path("host.jsonl"))) >= count) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }
  // `device` ended well and its report is the local replay's.
  void expectTheLocalReport(ChildProcess& ended, const std::string& name) {
    EXPECT_EQ(ended.waitForExit(kGameTimeoutMs), 0) << name << ": " << readFile(path(name + ".err"));
    EXPECT_EQ(local_->waitForExit(kGameTimeoutMs), 0);
    const std::string expected = readFile(path("local.jsonl"));
    ASSERT_NE(expected.find("\"type\":\"end\""), std::string::npos) << "the local game did not reach its end";
    EXPECT_EQ(firstDifference(readFile(path(name + ".jsonl")), expected), "") << name;
  }

  std::string folder_;
  std::string frames_;
  std::unique_ptr<ChildProcess> local_, server_, host_, guest_;
  std::string link_, guestLink_;
};

TEST_F(RoomGame, TwoDevicesPlayTheGameOfTheRecordingEachInItsOwnTurns) {
  ASSERT_NO_FATAL_FAILURE(prepare());
  // The host's copy alone plays another game: a device that ignored the room would not pass.
  auto alone = device("alone", {"--replay", path("host.rec"), "--frames", frames_, "--report", path("alone.jsonl")});
  const std::string server = startServer();
  ASSERT_FALSE(server.empty()) << readFile(path("server.err"));
  ASSERT_NO_FATAL_FAILURE(startHostAndGuest(server));
  expectTheLocalReport(*host_, "host");
  expectTheLocalReport(*guest_, "guest");
  EXPECT_EQ(alone->waitForExit(kGameTimeoutMs), 0);
  EXPECT_NE(firstDifference(readFile(path("alone.jsonl")), readFile(path("local.jsonl"))), "");
}

TEST_F(RoomGame, DelaysJitterAndStallsChangeNoReportAndAShortCodeJoins) {
  ASSERT_NO_FATAL_FAILURE(prepare());
  const std::string server = startServer();
  ASSERT_FALSE(server.empty()) << readFile(path("server.err"));
  net::WebAddress address;
  ASSERT_EQ(net::parseWebAddress(server, "ws", "wss", address), "");
  DelayingProxy proxy(address.port, Delays{});
  ASSERT_NE(proxy.port(), 0);
  // The guest joins by the room's short code.
  ASSERT_NO_FATAL_FAILURE(startHostAndGuest("ws://127.0.0.1:" + std::to_string(proxy.port()), {}, true));
  expectTheLocalReport(*host_, "host");
  expectTheLocalReport(*guest_, "guest");
}

// A client of the room's server: after `first` (a join that is welcomed, or refused when nothing
// follows it), the code of the refusal each message of `then` gets; then whether a message over
// the transport's limit closed the connection.
std::vector<std::string> refusalsOf(const std::string& server, const std::string& first, const std::vector<std::string>& then) {
  std::unique_ptr<platform::WebSocket> client = platform::WebSocket::connect(server);
  std::vector<std::string> codes;
  auto next = [&](const char* kind) -> std::optional<net::ServerMessage> {
    for (int wait = 0; wait < 100; ++wait) {
      while (std::optional<std::string> text = client->receive()) {
        net::ServerMessage message;
        if (net::parseServerMessage(*text, message).empty() && text->rfind(kind, 0) == 0) return message;
      }
      if (client->state() == platform::WebSocket::State::closed) return std::nullopt;
      client->waitUpTo(50);
    }
    return std::nullopt;
  };
  auto refusal = [&] {
    std::optional<net::ServerMessage> refused = next("refused");
    codes.push_back(refused ? std::string(net::refusalWord(refused->code)) : "none");
  };
  client->send(first);
  if (then.empty()) refusal();
  else if (!next("welcome")) return {"no welcome"};
  for (const std::string& message : then) {
    client->send(message);
    refusal();
  }
  // A message over the transport's limit closes the connection.
  client->send(std::string(5000, 'x'));
  for (int wait = 0; wait < 100 && client->state() != platform::WebSocket::State::closed; ++wait) client->waitUpTo(50);
  codes.push_back(client->state() == platform::WebSocket::State::closed ? "closed" : "open");
  return codes;
}

TEST_F(RoomGame, AWatcherComesLateAGuestAndTheServerAreKilledBadMessagesAreRefusedAndNoReportChanges) {
  ASSERT_NO_FATAL_FAILURE(prepare());
  const std::string server = startServer();
  ASSERT_FALSE(server.empty()) << readFile(path("server.err"));
  const std::vector<std::string> paced = {"--speed", "real"};
  ASSERT_NO_FATAL_FAILURE(startHostAndGuest(server, paced));
  net::RoomLink link;
  ASSERT_EQ(net::parseRoomLink(link_, link), "");

  ASSERT_TRUE(waitForThrows(3, 60)) << readFile(path("host.err"));
  auto watcher = device("watcher", {"--join", link_, "--frames", frames_, "--report", path("watcher.jsonl")});
  const std::string build(net::buildId());
  EXPECT_EQ(refusalsOf(server, "join " + link.room + " " + build + " -",
                       {"input 1 5 down 1 2", "mark 4000000000", "hello", "input 1 99 down 1  2", std::string(400, 'x'),
                        "join " + link.room + " " + build + " -"}),
            (std::vector<std::string>{"outofturn", "outofturn", "malformed", "malformed", "toolong", "inroom", "closed"}));
  EXPECT_EQ(refusalsOf(server, "join " + link.room + " " + build + " 2", {}), (std::vector<std::string>{"seattaken", "closed"}));

  ASSERT_TRUE(waitForThrows(4, 60));
  ASSERT_FALSE(host_->waitForExit(0)) << "the game ended before the guest could be killed in the middle of it";
  guest_->kill();
  guest_->waitForExit(5000);
  auto restarted = device("restarted", guestArguments(guestLink_, "restarted.jsonl", paced));

  ASSERT_TRUE(waitForThrows(5, 60));
  ASSERT_FALSE(host_->waitForExit(0));
  server_->kill();
  server_->waitForExit(5000);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  net::WebAddress address;
  ASSERT_EQ(net::parseWebAddress(server, "ws", "wss", address), "");
  ASSERT_EQ(startServer(address.port), server) << readFile(path("server.err"));

  expectTheLocalReport(*host_, "host");
  expectTheLocalReport(*restarted, "restarted");
  expectTheLocalReport(*watcher, "watcher");
}

}  // namespace
}  // namespace qn
