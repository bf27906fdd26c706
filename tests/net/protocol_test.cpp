// The room protocol's messages and links: what is written reads back the same, and anything that
// is not exactly a message of the protocol is refused.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/message_words.h"
#include "net/room_link.h"
#include "net/room_protocol.h"

namespace qn::net {
namespace {

const std::string kRoom = "0123456789abcdef0123456789abcdef";
const std::string kSecret = "fedcba9876543210fedcba9876543210";
const std::string kBuild = "00ff00ff00ff00ff";

LogEntry input(uint32_t seq, uint32_t frame, DeviceInput in) {
  LogEntry entry(EntryKind::input);
  entry.seq = seq;
  entry.frame = frame;
  entry.input = in;
  return entry;
}

TEST(ProtocolTest, MessagesReadBackAsWritten) {
  std::vector<ClientMessage> client;
  client.emplace_back(ClientKind::open).build = kBuild;
  ClientMessage join(ClientKind::join);
  join.room = kRoom, join.build = kBuild, join.seats = {2, 4};
  client.push_back(join);
  ClientMessage rejoin(ClientKind::rejoin);
  rejoin.room = kRoom, rejoin.device = 3, rejoin.secret = kSecret, rejoin.build = kBuild, rejoin.from = 1200;
  client.push_back(rejoin);
  client.emplace_back(ClientKind::input).entry = input(7, 4000000000u, {InputKind::keyDown, 13, 0, true});
  ClientMessage handover(ClientKind::handover);
  handover.entry.kind = EntryKind::handover, handover.entry.seq = 8, handover.entry.frame = 99, handover.entry.seat = 2,
  handover.entry.to = 2, handover.entry.seatsVersion = 1;
  client.push_back(handover);
  ClientMessage digest(ClientKind::digest);
  digest.entry.kind = EntryKind::digest, digest.entry.seq = 9, digest.entry.frame = 120, digest.entry.throwNumber = 3,
  digest.entry.hash = 0x0123456789abcdefu;
  client.push_back(digest);
  client.emplace_back(ClientKind::mark).frame = 77;
  client.emplace_back(ClientKind::leave);
  client.emplace_back(ClientKind::code);
  client.emplace_back(ClientKind::find).shortCode = "k7m2x9";
  for (const ClientMessage& message : client) {
    ClientMessage read;
    const std::string text = formatClientMessage(message);
    EXPECT_EQ(parseClientMessage(text, read), "") << text;
    EXPECT_EQ(read, message) << text;
  }
  EXPECT_EQ(formatClientMessage(client[1]), "join " + kRoom + " " + kBuild + " 24");

  std::vector<ServerMessage> server;
  ServerMessage welcome(ServerKind::welcome);
  welcome.room = kRoom, welcome.device = 2, welcome.secret = kSecret, welcome.seq = 41;
  server.push_back(welcome);
  ServerMessage entry(ServerKind::entry);
  entry.index = 5, entry.entry = input(3, 17, {InputKind::stylusUp, 120, 319});
  entry.entry.device = 2;
  server.push_back(entry);
  server.emplace_back(ServerKind::mark).frame = 1;
  server.emplace_back(ServerKind::ack).seq = 4;
  ServerMessage here(ServerKind::here);
  here.device = 32, here.present = true;
  server.push_back(here);
  ServerMessage refused(ServerKind::refused);
  refused.seq = 6, refused.code = RefusalCode::outOfTurn, refused.reason = "device 2 does not have the say";
  server.push_back(refused);
  ServerMessage bye(ServerKind::bye);
  bye.code = RefusalCode::otherBuild, bye.reason = "another build";
  server.push_back(bye);
  ServerMessage shortCode(ServerKind::code);
  shortCode.shortCode = "k7m2x9", shortCode.seconds = 300;
  server.push_back(shortCode);
  server.emplace_back(ServerKind::found).room = kRoom;
  for (const ServerMessage& message : server) {
    ServerMessage read;
    const std::string text = formatServerMessage(message);
    EXPECT_EQ(parseServerMessage(text, read), "") << text;
    EXPECT_EQ(read, message) << text;
  }
  EXPECT_EQ(formatServerMessage(entry), "e 5 input 2 3 17 up 120 319");
  // A reason of any bytes travels as printable words, shortened to fit.
  ServerMessage odd(ServerKind::bye);
  odd.reason = "tab\there  \x01 and" + std::string(1000, 'x');
  const std::string text = formatServerMessage(odd);
  EXPECT_LE(text.size(), kLargestMessage);
  EXPECT_EQ(text.rfind("bye malformed tab here andxxx", 0), 0u) << text;
}

TEST(ProtocolTest, AnythingElseIsRefused) {
  const std::vector<std::string> bad = {
      "", "open", "open " + kBuild + " ", " open " + kBuild, "open  " + kBuild, "open 00FF00FF00FF00FF", "open\t" + kBuild,
      "join " + kRoom + " " + kBuild + " 21", "join " + kRoom + " " + kBuild + " 5", "join " + kRoom + " " + kBuild,
      "join " + kRoom.substr(1) + " " + kBuild + " 1", "rejoin " + kRoom + " 0 " + kSecret + " " + kBuild + " 0",
      "rejoin " + kRoom + " 33 " + kSecret + " " + kBuild + " 0", "input 0 5 down 1 2", "input 1 05 down 1 2",
      "input 1 5 down 1", "input 1 5 down 1 2 3", "input 1 4294967296 up 1 2", "input 1 5 keydown 70000",
      "handover 1 5 5 1 0", "handover 1 5 1 0 0", "digest 1 5 0 0123456789abcdef", "digest 1 5 1 0123", "mark -1",
      "mark 1 2", "leave 1", "find k7m2x", "find k7m2x1", "find K7M2X9", "code 1", "hello", "input 1 5 focuslost now", "input 1 5 char 97 \x7f", std::string(400, 'a'),
  };
  for (const std::string& text : bad) {
    ClientMessage message;
    EXPECT_NE(parseClientMessage(text, message), "") << '"' << text << '"';
  }
  for (const std::string& text : std::vector<std::string>{"e 1 seat 1 5", "e x input 1 1 1 up 1 2", "here 1 2", "welcome " + kRoom, "refused 1 nosuch why"}) {
    ServerMessage message;
    EXPECT_NE(parseServerMessage(text, message), "") << text;
  }
}

TEST(RoomLinkTest, LinksAndServersReadBackAndBadOnesAreRefused) {
  for (const std::string& text : std::vector<std::string>{
           "http://192.168.1.20:8000/#room=" + kRoom, "https://example.org/boules/#room=" + kRoom + "&device=2&key=" + kSecret,
        "http://[::1]:8000/#room=" + kRoom}) {
    RoomLink link;
    EXPECT_EQ(parseRoomLink(text, link), "") << text;
    EXPECT_EQ(formatRoomLink(link), text);
  }
  RoomLink link;
  ASSERT_EQ(parseRoomLink("https://example.org/boules#room=" + kRoom, link), "");
  EXPECT_EQ(serverUrl(link.site), "wss://example.org/boules/");
  for (const std::string& text : std::vector<std::string>{
           "http://example.org/", "ftp://example.org/#room=" + kRoom, "http://exa mple.org/#room=" + kRoom,
        "http://example.org:0/#room=" + kRoom, "http://example.org/#room=" + kRoom + "&device=2",
        "http://example.org/#room=" + kRoom.substr(2), "http://example.org/../#room=" + kRoom, "http://[::1/#room=" + kRoom})
    EXPECT_NE(parseRoomLink(text, link), "") << text;

  std::vector<WebAddress> servers;
  ASSERT_EQ(parseServerList("ws://127.0.0.1:8000,wss://example.org/rooms/", servers), "");
  ASSERT_EQ(servers.size(), 2u);
  EXPECT_EQ(servers[0].portOrDefault(), 8000);
  EXPECT_EQ(servers[1].portOrDefault(), 443);
  EXPECT_EQ(serverUrl(servers[1]), "wss://example.org/rooms/");
  EXPECT_NE(parseServerList("ws://127.0.0.1:8000,", servers), "");
  EXPECT_NE(parseServerList("http://127.0.0.1:8000", servers), "");
}

}  // namespace
}  // namespace qn::net
