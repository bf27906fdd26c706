// The room server's message parser and the room service behind it, fed any bytes: each line is a
// message from one of three connections (the line's first byte picks it), after the first has
// opened a room and the second joined it ("ROOM" in a line stands for the room's link, "SECRET"
// for the second device's secret). Nothing may crash; every message the service sends must be
// one the protocol spells; a client message that parses must read back the same once written;
// and a store that refuses now and then (the line's second byte) must leave the room in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "net/room_protocol.h"
#include "server/room_service.h"

namespace {

using namespace qn;

// Keeps nothing: every write succeeds, unless the fuzzer asked for the next one to fail.
struct ForgetfulStore final : server::RoomStore {
  bool failNext = false;
  bool loadRooms(std::vector<server::StoredRoom>& rooms, std::string&) override {
    rooms.clear();
    return true;
  }
  void write(const std::string&, const server::RoomWrite&, Done done) override {
    const bool fail = std::exchange(failNext, false);
    done(fail ? server::WriteResult::failed : server::WriteResult::written, fail ? "refused by the fuzzer" : "");
  }
  void forgetRoom(const std::string&) override {}
};

struct CheckingPeer final : server::Peer {
  std::optional<net::ServerMessage> welcome;
  void send(std::string message) override {
    net::ServerMessage read;
    if (!net::parseServerMessage(message, read).empty()) std::abort();  // the server spoke outside the protocol
    if (read.kind == net::ServerKind::welcome && !welcome) welcome = read;
  }
  void close() override {}
};

std::string replaced(std::string line, const std::string& token, const std::string& value) {
  for (size_t at = line.find(token); at != std::string::npos; at = line.find(token, at + value.size())) line.replace(at, token.size(), value);
  return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string build = "00ff00ff00ff00ff";
  ForgetfulStore store;
  server::ServiceLimits limits;
  server::RoomService service(store, limits);
  CheckingPeer peers[3];
  server::RoomService::PeerId ids[3];
  for (int i = 0; i < 3; ++i) ids[i] = service.connected(peers[i]);
  service.received(ids[0], "open " + build);
  if (!peers[0].welcome) std::abort();
  const std::string room = peers[0].welcome->room;
  service.received(ids[1], "join " + room + " " + build + " 2");
  if (!peers[1].welcome) std::abort();
  const std::string secret = peers[1].welcome->secret;

  std::string input(reinterpret_cast<const char*>(data), size);
  size_t start = 0;
  while (start < input.size()) {
    size_t end = input.find('\n', start);
    if (end == std::string::npos) end = input.size();
    std::string line = input.substr(start, end - start);
    start = end + 1;
    if (line.size() < 2) continue;
    const int who = static_cast<uint8_t>(line[0]) % 3;
    store.failNext = (static_cast<uint8_t>(line[1]) & 0x0F) == 0;
    line = replaced(replaced(line.substr(2), "ROOM", room), "SECRET", secret);
    net::ClientMessage message;
    if (net::parseClientMessage(line, message).empty()) {
      net::ClientMessage again;
      if (!net::parseClientMessage(net::formatClientMessage(message), again).empty() || !(again == message)) std::abort();
    }
    service.received(ids[who], line);
  }
  for (int i = 0; i < 3; ++i) service.disconnected(ids[i]);
  return 0;
}
