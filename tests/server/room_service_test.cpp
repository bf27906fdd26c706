// The room service over the embedded store, with connections played by the test: rooms opened
// and joined, the log ordered and checked, copies acknowledged once, bad and abusive messages
// refused, and every room back after a restart.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "net/room_protocol.h"
#include "server/room_service.h"
#include "server/sqlite_room_store.h"

namespace qn::server {
namespace {

const std::string kBuild = "00ff00ff00ff00ff";

struct FakePeer final : Peer {
  std::vector<std::string> sent;
  bool closed = false;
  void send(std::string message) override { sent.push_back(std::move(message)); }
  void close() override { closed = true; }
  std::vector<std::string> take() { return std::exchange(sent, {}); }
};

class RoomServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = ::testing::TempDir() + "rooms_" + std::to_string(::getpid()) + ".sqlite";
    open();
  }
  void TearDown() override {
    service_.reset();
    store_.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path_ + suffix);
  }
  void open(ServiceLimits limits = {}) {
    service_.reset();
    std::string problem;
    store_ = SqliteRoomStore::open(path_, problem);
    ASSERT_TRUE(store_) << problem;
    service_ = std::make_unique<RoomService>(*store_, limits);
    ASSERT_TRUE(service_->restore(problem)) << problem;
  }
  // A connection that sends `message` first; what it got back.
  RoomService::PeerId connect(FakePeer& peer, const std::string& message) {
    const RoomService::PeerId id = service_->connected(peer);
    service_->received(id, message);
    return id;
  }
  net::ServerMessage welcomeOf(FakePeer& peer) {
    net::ServerMessage welcome;
    EXPECT_FALSE(peer.sent.empty());
    if (!peer.sent.empty()) {
      EXPECT_EQ(net::parseServerMessage(peer.sent.front(), welcome), "") << peer.sent.front();
    }
    return welcome;
  }

  std::string path_;
  std::unique_ptr<SqliteRoomStore> store_;
  std::unique_ptr<RoomService> service_;
};

TEST_F(RoomServiceTest, RoomsAreOpenedJoinedOrderedAndBackAfterARestart) {
  FakePeer host, guest, other;
  const auto hostId = connect(host, "open " + kBuild);
  const net::ServerMessage opened = welcomeOf(host);
  ASSERT_EQ(opened.kind, net::ServerKind::welcome);
  EXPECT_EQ(opened.device, 1u);
  std::vector<std::string> got = host.take();
  EXPECT_EQ(got, (std::vector<std::string>{got[0], "mark 0", "here 1 1"}));

  const auto guestId = connect(guest, "join " + opened.room + " " + kBuild + " 2");
  const net::ServerMessage joined = welcomeOf(guest);
  EXPECT_EQ(joined.device, 2u);
  EXPECT_EQ(host.take(), (std::vector<std::string>{"e 0 seat 2 2", "here 2 1"}));
  got = guest.take();
  EXPECT_EQ(got, (std::vector<std::string>{got[0], "e 0 seat 2 2", "mark 0", "here 1 1", "here 2 1"}));

  // A short code finds the room, a few times a minute.
  service_->received(hostId, "code");
  net::ServerMessage code;
  ASSERT_EQ(host.sent.size(), 1u);
  ASSERT_EQ(net::parseServerMessage(host.take()[0], code), "");
  EXPECT_EQ(code.seconds, 300u);
  FakePeer finder;
  const auto finderId = service_->connected(finder);
  service_->received(finderId, "find " + code.shortCode);
  service_->received(finderId, "find 222222");
  for (int i = 0; i < 5; ++i) service_->received(finderId, "find " + code.shortCode);
  EXPECT_EQ(finder.sent.at(0), "found " + opened.room);
  EXPECT_EQ(finder.sent.at(1).rfind("refused 0 noroom", 0), 0u);
  EXPECT_EQ(finder.sent.back().rfind("refused 0 toofast", 0), 0u);
  service_->disconnected(finderId);

  service_->received(guestId, "input 1 5 down 1 2");
  ASSERT_EQ(guest.sent.size(), 1u);
  EXPECT_EQ(guest.take()[0].rfind("refused 1 outofturn", 0), 0u);
  service_->received(hostId, "input 1 0 down 1 2");
  EXPECT_EQ(host.take(), std::vector<std::string>{"e 1 input 1 1 0 down 1 2"});
  EXPECT_EQ(guest.take(), std::vector<std::string>{"e 1 input 1 1 0 down 1 2"});
  service_->received(hostId, "input 1 0 down 1 2");  // sent again: acknowledged, taken once
  EXPECT_EQ(host.take(), std::vector<std::string>{"ack 1"});
  EXPECT_TRUE(guest.sent.empty());
  service_->received(hostId, "mark 9");
  EXPECT_EQ(guest.take(), std::vector<std::string>{"mark 9"});
  service_->received(hostId, "handover 2 12 2 2 1");
  EXPECT_EQ(guest.take(), std::vector<std::string>{"e 2 handover 1 2 12 2 2 1"});
  service_->received(guestId, "input 1 12 keydown 38");
  EXPECT_EQ(host.take().back(), "e 3 input 2 1 12 keydown 38");

  connect(other, "join " + opened.room + " 1111111111111111 -");
  ASSERT_EQ(other.sent.size(), 1u);
  EXPECT_EQ(other.sent[0].rfind("bye otherbuild", 0), 0u);
  EXPECT_TRUE(other.closed);

  // The server stops and comes back: the room as it was; the guest rejoins from where it was.
  service_->disconnected(hostId);
  service_->disconnected(guestId);
  open();
  EXPECT_EQ(service_->roomCount(), 1u);
  FakePeer back, thief;
  const auto backId = connect(back, "rejoin " + opened.room + " 2 " + joined.secret + " " + kBuild + " 2");
  EXPECT_EQ(welcomeOf(back).seq, 1u);  // the last sequence number the log took from it
  got = back.take();
  EXPECT_EQ(got, (std::vector<std::string>{got[0], "e 2 handover 1 2 12 2 2 1", "e 3 input 2 1 12 keydown 38", "mark 12",
                                           "here 1 0", "here 2 1"}));
  service_->received(backId, "input 1 12 keydown 38");
  EXPECT_EQ(back.take(), std::vector<std::string>{"ack 1"});
  connect(thief, "rejoin " + opened.room + " 2 " + opened.secret + " " + kBuild + " 0");
  EXPECT_EQ(thief.sent.at(0).rfind("refused 0 badsecret", 0), 0u);
}

TEST_F(RoomServiceTest, AHostAwayTooLongHandsTheRoomAndItsSayToTheLowestSeatThatIsHere) {
  ServiceLimits limits;
  limits.hostGraceMs = 0;
  open(limits);
  FakePeer host, watcher, guest;
  const auto hostId = connect(host, "open " + kBuild);
  const net::ServerMessage opened = welcomeOf(host);
  connect(watcher, "join " + opened.room + " " + kBuild + " -");
  const auto guestId = connect(guest, "join " + opened.room + " " + kBuild + " 3");
  service_->received(hostId, "input 1 4 down 1 2");
  service_->everySecond();  // the host is here
  guest.take();
  service_->disconnected(hostId);
  service_->everySecond();
  EXPECT_EQ(guest.take(), (std::vector<std::string>{"here 1 0", "e 2 host 3"}));
  service_->received(guestId, "input 1 4 down 1 2");  // the frame the host played
  EXPECT_EQ(guest.take().at(0).rfind("refused 1 outofturn", 0), 0u);
  service_->received(guestId, "input 1 5 down 1 2");
  EXPECT_EQ(guest.take(), std::vector<std::string>{"e 3 input 3 1 5 down 1 2"});
}

TEST_F(RoomServiceTest, BadOversizedAndTooManyMessagesAreRefusedAndAbuseCloses) {
  ServiceLimits limits;
  limits.connection.burst = 30;
  limits.connection.messagesPerSecond = 1;
  limits.connection.refusalsToClose = 10;
  open(limits);
  FakePeer host, abuser;
  const auto hostId = connect(host, "open " + kBuild);
  const net::ServerMessage opened = welcomeOf(host);
  host.take();
  service_->received(hostId, std::string(400, 'x'));
  service_->received(hostId, "input 1 0 down 1  2");
  service_->received(hostId, "open " + kBuild);
  const std::vector<std::string> refusals = host.take();
  ASSERT_EQ(refusals.size(), 3u);
  EXPECT_EQ(refusals[0].rfind("refused 0 toolong", 0), 0u);
  EXPECT_EQ(refusals[1].rfind("refused 0 malformed", 0), 0u);
  EXPECT_EQ(refusals[2].rfind("refused 0 inroom", 0), 0u);

  const auto abuserId = connect(abuser, "join " + opened.room + " " + kBuild + " -");
  for (int i = 0; i < 12 && !abuser.closed; ++i) service_->received(abuserId, "input 1 0 down 1 2");
  EXPECT_TRUE(abuser.closed);
  EXPECT_EQ(abuser.sent.back().rfind("bye abuse", 0), 0u);
  // The room goes on unharmed; the host's bucket runs dry after its burst.
  host.take();
  service_->received(hostId, "input 1 0 down 1 2");
  EXPECT_EQ(host.take(), std::vector<std::string>{"e 0 input 1 1 0 down 1 2"});
  for (int i = 0; i < 40; ++i) service_->received(hostId, "mark " + std::to_string(i + 1));
  EXPECT_NE(std::find_if(host.sent.begin(), host.sent.end(), [](const std::string& m) { return m.rfind("refused 0 toofast", 0) == 0; }),
            host.sent.end());
}

}  // namespace
}  // namespace qn::server
