// Rooms played whole: the desktop program on several devices and boules-server, on loopback.
//
// A local game of two people is played and recorded first (tests/shell/room_play.h). Each device
// of the room then gets its own copy of that recording: the original input in its own turns, and
// other input (taps, the up key) in everyone else's, which would make another game of it if it
// reached the game. Every device's report must be the local replay's of the original, byte for
// byte.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "net/build_id.h"
#include "net/room_link.h"
#include "net/room_protocol.h"
#include "platform/web_socket.h"
#include "tests/shell/child_process.h"
#include "tests/shell/delaying_proxy.h"
#include "tests/shell/room_play.h"

namespace qn {
namespace {

using testing::ChildProcess;
using testing::copyFor;
using testing::firstDifference;
using testing::LocalGame;
using testing::playLocally;
using testing::readFile;
using testing::throwsIn;
using testing::writeFile;
using testing::DelayingProxy;
using testing::Delays;

// Bounds on every wait, for the optimised build; the sanitizer build runs several times slower.
constexpr int kSlowdown = BOULES_TEST_SLOWDOWN;
constexpr int kLineTimeoutMs = 20'000 * kSlowdown;
constexpr int kGameTimeoutMs = 60'000 * kSlowdown;

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
    ASSERT_EQ(game.problem, "");
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
    for (int tenth = 0; tenth < seconds * 10 * kSlowdown; ++tenth) {
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
  // The next message of `kind` (any other is passed over), or nothing when none comes in time or
  // the connection closed.
  auto next = [&](std::string_view kind) -> std::optional<net::ServerMessage> {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLineTimeoutMs);
    while (std::chrono::steady_clock::now() < until) {
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
  next("none such");
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
