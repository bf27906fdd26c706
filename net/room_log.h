// A room's log: the one ordered list of entries (net/log_entry.h) that every device of the room
// plays, and what follows from it. The server keeps the log and decides its order; every device
// keeps a replica, built from the entries the server sends, and holds them to the same rules
// (so a device ignores input from any device without the say, whatever a server sends).
//
// The say. At every frame exactly one device has the say, and only its input reaches the game.
// The game decides whose turn a frame is (game/say_rule.h: a set-up seat, or the host's turns);
// the log decides which device that is:
//   - A room opens with the host holding the say for seat 0 from frame 0.
//   - The device with the say plays on its own, never waiting for the network. It works out
//     the seat of every next frame from its own game; when the seat changes at frame f, it sends
//     a handover naming the seat, the device that holds that seat as the seat entries it has seen
//     decide (the first `seats` of them), and f. From f on that device has the say (a handover
//     may name its own sender: the seat changed, the device did not).
//   - Seat entries (a claim, a device leaving, a new host) change who holds a seat only at the
//     next handover, never in the middle of a turn: the handover carries how many of them its
//     sender had seen, so every device and the server resolve it alike, whatever else the server
//     appended meanwhile.
//   - When the device with the say leaves for good, or stops being the host while holding the
//     host's say, the say goes to whoever holds its seat now, from the mark on (or from the frame
//     after the last entry the former holder sent, when that comes later): every frame before
//     plays as the former holder left it.
//
// Frames. Input of frame f arrives before the game's tick f (counted from 0), as in a recording.
// The device with the say marks the frame it has reached (every input before it is in the log)
// at least ten times a second, and a handover marks its frame. A device may play tick t once the
// mark is beyond t. Nothing may enter the log before the frontier (the mark, and the frame of
// every entry so far): a follower may have played those frames already.
//
// Sequence numbers. Each device numbers the entries it sends from 1; the log takes only the next
// number, so a message sent again after a lost connection is known for a copy and applied once.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "net/log_entry.h"

namespace qn::net {

class RoomLog {
 public:
  explicit RoomLog(DeviceId host = 1);

  // Why `entry` may not come next, or empty when it may. Input, handovers and digests come from
  // the device with the say, with its next sequence number, at a frame no earlier than the
  // frontier; a handover names a seat 0 to 4, at most the seat entries there are, and the device
  // that holds that seat as those entries decide; a digest numbers the next throw. A seat is
  // claimed by a device that has not left, when no other device holds it; a device leaves once;
  // a new host is a device that has not left.
  std::string refusal(const LogEntry& entry) const;
  void append(const LogEntry& entry);  // `refusal(entry)` must be empty
  // A mark from `device`: refused unless it has the say and `frame` is no earlier than the frontier.
  std::string markRefusal(DeviceId device, uint32_t frame) const;
  void mark(uint32_t frame);

  const std::vector<LogEntry>& entries() const { return entries_; }
  size_t size() const { return entries_.size(); }

  DeviceId holder() const { return holder_; }         // the device with the say
  uint32_t holderSince() const { return holderSince_; }  // from this frame on
  int32_t sayingSeat() const { return sayingSeat_; }  // the seat whose turn it is (0: the host's)
  uint32_t mark() const { return mark_; }             // every input before this frame is in the log
  uint32_t frontier() const { return frontier_; }     // the earliest frame a new entry may have
  // The first frame nobody has played from the log yet: the mark, or the frame after the last one
  // whose input or digest the log holds. The device with the say plays the log's frames before
  // it (after a restart) and its own from it on.
  uint32_t resumeFrame() const { return lastPlayedFrame_ ? std::max(mark_, *lastPlayedFrame_ + 1) : mark_; }
  // Whether the say came to its holder by a handover (not by a device leaving or a new host): the
  // holder's game then agrees that the handover's seat has the say at its frame.
  bool saidByHandover() const { return saidByHandover_; }
  DeviceId host() const { return seats_.host; }
  uint32_t seatsVersion() const { return static_cast<uint32_t>(seatChanges_.size()); }
  // The device that holds `seat` (0: the host's turns) as the first `version` seat entries decide.
  DeviceId holderOf(int32_t seat, uint32_t version) const;
  DeviceId holderOf(int32_t seat) const { return seats_.holderOf(seat); }
  // The seats `device` has claimed and still holds.
  std::vector<int32_t> seatsOf(DeviceId device) const;
  bool hasLeft(DeviceId device) const { return device <= kMostDevices && seats_.left[device]; }
  // The last sequence number the log took from `device` (0 before its first).
  uint32_t lastSeq(DeviceId device) const { return device <= kMostDevices ? lastSeq_[device] : 0; }
  // The digest of throw `throwNumber` (from 1), once the log has it.
  std::optional<uint64_t> digestOf(uint32_t throwNumber) const;
  uint32_t digests() const { return static_cast<uint32_t>(digests_.size()); }

 private:
  // Who holds what, as a run of seat entries leaves it.
  struct SeatTable {
    std::array<DeviceId, kSeats + 1> claimedBy{};  // by seat; 0 where nobody claimed it
    std::array<bool, kMostDevices + 1> left{};
    DeviceId host = 1;

    void apply(const LogEntry& change);
    DeviceId holderOf(int32_t seat) const;
  };
  SeatTable seatsAfter(uint32_t version) const;

  std::vector<LogEntry> entries_;
  std::vector<LogEntry> seatChanges_;
  DeviceId firstHost_;
  SeatTable seats_;
  DeviceId holder_;
  uint32_t holderSince_ = 0;
  int32_t sayingSeat_ = kHostSeat;
  uint32_t mark_ = 0;
  uint32_t frontier_ = 0;
  std::optional<uint32_t> lastPlayedFrame_;  // of the last input or digest
  bool saidByHandover_ = false;
  std::array<uint32_t, kMostDevices + 1> lastSeq_{};
  std::vector<uint64_t> digests_;  // by throw number - 1
};

}  // namespace qn::net
