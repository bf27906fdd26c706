// The room server's core: rooms, their devices and logs, and the protocol (net/room_protocol.h)
// spoken with each connection. It knows nothing of sockets (server/web_socket_server.h carries
// the messages) and runs on one thread: every call, and every store report, comes on it.
//
// What it does for a room:
//   - orders the room's log: each message of a room waits for the one before it to be stored
//     and sent on, so the log's order is the order the server took the messages in;
//   - checks every entry and mark against the log (net/room_log.h): only the device with the say
//     adds input, at frames no earlier than the frontier, with its next sequence number; a copy
//     of an entry the log holds is acknowledged and dropped. It needs no copy of the game: the
//     log itself says who has the say;
//   - stores each accepted entry (server/room_store.h) before sending it on to every device of the
//     room, its sender included;
//   - gives a device that joins or rejoins the log from any point, then everything new;
//   - tells the room's devices who is connected (for "Waiting for Red...");
//   - gives a room a short code to type instead of its link, which lives five minutes (in memory:
//     a restarted server knows none), found a few times a minute by a connection at most;
//   - refuses what breaks the rules with a reason, closes a connection that keeps sending such,
//     and limits what one connection may send (server/connection_budget.h).
//
// Devices. The device that opens a room is device 1, its host. A device that joins gets the next
// number and a secret of its own; with the secret (its rejoin link) it comes back as the same
// device, its seats kept, after a lost connection or a restart, and the log goes on from the
// entry it asks for. A device connected again closes its older connection. A device that leaves
// gives its seats back to the host (a leave entry). A host away for longer than the host's grace
// (a minute) hands the room to the device of the lowest seat that is connected (a host entry):
// the say it held goes to that device from the frame after the last it played.
//
// Rooms live as long as the store keeps them: a room outlives its devices, and a server stopped
// or killed comes back with every room (`restore`).
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "net/room_log.h"
#include "net/room_protocol.h"
#include "server/connection_budget.h"
#include "server/peer.h"
#include "server/room_store.h"

namespace qn::server {

struct ServiceLimits {
  ConnectionLimits connection;
  size_t mostRooms = 100'000;
  size_t mostEntries = 1'000'000;  // in one room's log
  int64_t hostGraceMs = 60'000;    // how long a room waits for its host to come back
  uint32_t shortCodeSeconds = 300;
};

class RoomService {
 public:
  using PeerId = uint64_t;

  explicit RoomService(RoomStore& store, ServiceLimits limits = {});
  ~RoomService();
  RoomService(const RoomService&) = delete;
  RoomService& operator=(const RoomService&) = delete;

  // Takes every room the store keeps; false with the reason when the store cannot be read. An
  // entry that does not follow its log's rules (a damaged store) ends that room's log there,
  // said in `problem` too.
  bool restore(std::string& problem);

  // A connection opened: its id for the calls below. `peer` must outlive `disconnected(id)`.
  PeerId connected(Peer& peer);
  void received(PeerId peer, std::string_view message);
  void disconnected(PeerId peer);
  // The server stops: every connection is told and closed.
  void closeAll();
  // Forgets the rooms nobody is connected to whose last entry is older than `seconds`.
  size_t forgetRoomsIdleFor(int64_t seconds);
  // Hands each room whose host has been away longer than the host's grace to another device, and
  // forgets the short codes that expired. The server calls it every second.
  void everySecond();

  size_t roomCount() const { return rooms_.size(); }
  size_t connectionCount() const { return connections_.size(); }

 private:
  struct Connection {
    Peer* peer;
    ConnectionBudget budget;
    std::string room;         // once in a room
    net::DeviceId device = 0;
    bool entering = false;    // an open or join is being stored
  };
  struct Device {
    std::string secret;
    PeerId peer = 0;  // 0 while not connected
  };
  struct Waiting {
    PeerId peer;
    net::ClientMessage message;
  };
  struct Room {
    std::string build;
    net::RoomLog log;
    std::map<net::DeviceId, Device> devices;
    std::deque<Waiting> waiting;  // messages in the order taken, each after the one before it is done
    bool writing = false;         // a write is with the store
    bool draining = false;
    int64_t lastActive = 0;       // the last write, seconds since the epoch
    std::optional<int64_t> hostAwaySince;  // milliseconds of the service's clock
    std::string shortCode;                 // while one lives
  };
  struct ShortCode {
    std::string room;
    int64_t expiresMs;
  };

  int64_t nowMs() const;
  Connection* connection(PeerId peer);
  void send(PeerId peer, const net::ServerMessage& message);
  void sendToRoom(const Room& room, const net::ServerMessage& message, PeerId except = 0);
  // Refuses a message with its reason; a connection with too many refusals is closed.
  void refuse(PeerId peer, uint32_t seq, net::RefusalCode code, const std::string& reason);
  void bye(PeerId peer, net::RefusalCode code, const std::string& reason);

  void open(PeerId peer, const net::ClientMessage& message);
  void find(PeerId peer, const std::string& code);
  void giveShortCode(Room& room, const std::string& name, PeerId peer);
  void replaceAbsentHosts(int64_t now);
  // Runs the room's waiting messages in order until one waits for the store.
  void drain(const std::string& name);
  void handle(const std::string& name, Room& room, const Waiting& waiting);
  void join(const std::string& name, Room& room, PeerId peer, const net::ClientMessage& message);
  void rejoin(const std::string& name, Room& room, PeerId peer, const net::ClientMessage& message);
  void addEntry(const std::string& name, Room& room, PeerId peer, net::LogEntry entry);
  void mark(Room& room, PeerId peer, uint32_t frame);
  void leave(const std::string& name, Room& room, PeerId peer);
  // Stores `write` for the room, then (on the service's thread) appends `entries` to its log,
  // sends them on and runs `then`; a failed write refuses `seq` of `peer` instead.
  void storeThen(const std::string& name, Room& room, RoomWrite write, std::vector<net::LogEntry> entries, PeerId peer,
                 uint32_t seq, std::function<void(Room&)> then);
  // A device in the room on `peer`: welcome, the log from `from`, the mark, who is connected.
  void enter(const std::string& name, Room& room, PeerId peer, net::DeviceId device, uint32_t from);
  void setPresence(Room& room, net::DeviceId device, PeerId peer);

  RoomStore& store_;
  ServiceLimits limits_;
  std::unordered_map<PeerId, Connection> connections_;
  std::unordered_map<std::string, Room> rooms_;
  std::unordered_map<std::string, ShortCode> shortCodes_;
  PeerId nextPeer_ = 1;
  const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

}  // namespace qn::server
