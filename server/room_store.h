// Where the room server keeps its rooms, so that a server stopped or killed comes back with every
// room as it was: per room its build, its devices with their secrets, its log's entries (their
// text, net/log_entry.h) and its mark. Everything else (who has the say, the seats, the sequence
// numbers) follows from the entries and is made again from them.
//
// The room service (server/room_service.h) writes before it sends on: an entry reaches the
// devices only once its write has been reported. One write is one room's change, whole or not
// at all: a new room with its first device, a new device with its seat entries, an entry.
//
// A store whose writes block (a network's) is made with the service's way to run work on the
// service's thread: it writes elsewhere and reports through it. The embedded one writes at once
// and reports before `write` returns. A write names the index of its first entry: a store shared
// by several servers refuses it (`conflict`) when another server appended first, so that no two
// of them give out one index (the service then refuses the message and the device sends it
// again).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "net/log_entry.h"

namespace qn::server {

struct StoredDevice {
  net::DeviceId device = 0;
  std::string secret;
};

struct StoredRoom {
  std::string room;  // the secret its link carries
  std::string build;
  int64_t created = 0;     // seconds since the epoch
  int64_t lastActive = 0;  // the last write
  uint32_t mark = 0;
  std::vector<StoredDevice> devices;
  std::vector<std::string> entries;  // in the log's order, from index 0
};

struct RoomWrite {
  std::optional<std::string> build;   // a new room of this build (its first device below)
  std::optional<StoredDevice> device;  // a new device
  uint32_t firstIndex = 0;            // the log's length before `entries`
  std::vector<std::string> entries;
  uint32_t mark = 0;                  // the room's mark with them
  int64_t time = 0;                   // seconds since the epoch
};

enum class WriteResult { written, conflict, failed };

class RoomStore {
 public:
  using Done = std::function<void(WriteResult result, const std::string& problem)>;

  virtual ~RoomStore() = default;

  // Every room kept, in no particular order; false with the reason when the store cannot be read.
  virtual bool loadRooms(std::vector<StoredRoom>& rooms, std::string& problem) = 0;
  // Writes `write` to `room`; `done` runs on the service's thread once it is safe (or failed).
  virtual void write(const std::string& room, const RoomWrite& write, Done done) = 0;
  // Forgets a room: its log, its devices, the room itself.
  virtual void forgetRoom(const std::string& room) = 0;
};

}  // namespace qn::server
