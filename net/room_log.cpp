#include "net/room_log.h"

#include <algorithm>

namespace qn::net {

RoomLog::RoomLog(DeviceId host) : firstHost_(host), holder_(host) { seats_.host = host; }

void RoomLog::SeatTable::apply(const LogEntry& change) {
  switch (change.kind) {
    case EntryKind::seat: claimedBy[static_cast<size_t>(change.seat)] = change.device; break;
    case EntryKind::leave:
      left[change.device] = true;
      for (DeviceId& claimer : claimedBy)
        if (claimer == change.device) claimer = 0;
      // A host that leaves hands the room to the device of the lowest seat still held.
      if (change.device == host) {
        for (int32_t seat = 1; seat <= kSeats; ++seat) {
          if (DeviceId claimer = claimedBy[static_cast<size_t>(seat)]; claimer != 0) {
            host = claimer;
            break;
          }
        }
      }
      break;
    case EntryKind::host: host = change.device; break;
    default: break;
  }
}

DeviceId RoomLog::SeatTable::holderOf(int32_t seat) const {
  if (seat < 1 || seat > kSeats) return host;
  const DeviceId claimer = claimedBy[static_cast<size_t>(seat)];
  return claimer != 0 ? claimer : host;
}

RoomLog::SeatTable RoomLog::seatsAfter(uint32_t version) const {
  SeatTable table;
  table.host = firstHost_;
  for (uint32_t i = 0; i < version && i < seatChanges_.size(); ++i) table.apply(seatChanges_[i]);
  return table;
}

DeviceId RoomLog::holderOf(int32_t seat, uint32_t version) const { return seatsAfter(version).holderOf(seat); }

std::vector<int32_t> RoomLog::seatsOf(DeviceId device) const {
  std::vector<int32_t> seats;
  for (int32_t seat = 1; seat <= kSeats; ++seat)
    if (seats_.claimedBy[static_cast<size_t>(seat)] == device) seats.push_back(seat);
  return seats;
}

std::optional<uint64_t> RoomLog::digestOf(uint32_t throwNumber) const {
  if (throwNumber < 1 || throwNumber > digests_.size()) return std::nullopt;
  return digests_[throwNumber - 1];
}

std::string RoomLog::refusal(const LogEntry& entry) const {
  if (entry.device < 1 || entry.device > kMostDevices) return "no such device";
  if (seats_.left[entry.device]) return "device " + std::to_string(entry.device) + " has left the room";
  if (entry.sentByDevice()) {
    if (entry.device != holder_) return "device " + std::to_string(entry.device) + " does not have the say";
    if (entry.seq != lastSeq_[entry.device] + 1)
      return "expected sequence number " + std::to_string(lastSeq_[entry.device] + 1);
    if (entry.frame < frontier_) return "frame " + std::to_string(entry.frame) + " is before the log's frontier " + std::to_string(frontier_);
  }
  switch (entry.kind) {
    case EntryKind::input: return {};
    case EntryKind::handover:
      if (entry.seat < 0 || entry.seat > kSeats) return "no such seat";
      if (entry.seatsVersion > seatsVersion()) return "the handover counts more seat entries than there are";
      if (entry.to != holderOf(entry.seat, entry.seatsVersion))
        return "seat " + std::to_string(entry.seat) + " is not held by device " + std::to_string(entry.to);
      return {};
    case EntryKind::digest:
      if (entry.throwNumber != digests_.size() + 1) return "expected the digest of throw " + std::to_string(digests_.size() + 1);
      return {};
    case EntryKind::seat: {
      if (entry.seat < 1 || entry.seat > kSeats) return "no such seat";
      const DeviceId claimer = seats_.claimedBy[static_cast<size_t>(entry.seat)];
      if (claimer != 0 && claimer != entry.device) return "seat " + std::to_string(entry.seat) + " is taken";
      return {};
    }
    case EntryKind::leave: return {};
    case EntryKind::host: return entry.device == seats_.host ? "device " + std::to_string(entry.device) + " is the host" : "";
  }
  return "unknown entry";
}

void RoomLog::append(const LogEntry& entry) {
  entries_.push_back(entry);
  if (entry.sentByDevice()) {
    lastSeq_[entry.device] = entry.seq;
    frontier_ = std::max(frontier_, entry.frame);
    if (entry.kind != EntryKind::handover) lastPlayedFrame_ = entry.frame;
  }
  switch (entry.kind) {
    case EntryKind::handover:
      holder_ = entry.to;
      holderSince_ = entry.frame;
      sayingSeat_ = entry.seat;
      saidByHandover_ = true;
      mark(entry.frame);
      break;
    case EntryKind::digest: digests_.push_back(entry.hash); break;
    case EntryKind::seat:
    case EntryKind::leave:
    case EntryKind::host: {
      const DeviceId formerHost = seats_.host;
      seatChanges_.push_back(entry);
      seats_.apply(entry);
      // The say leaves a device that is gone, or that held it as the host it no longer is.
      const bool holderGone = entry.kind == EntryKind::leave && entry.device == holder_;
      const bool hostReplaced = holder_ == formerHost && seats_.host != formerHost;
      if (holderGone || hostReplaced) {
        const DeviceId next = seats_.holderOf(sayingSeat_);
        if (next != holder_) {
          holder_ = next;
          holderSince_ = resumeFrame();
          saidByHandover_ = false;
          mark(holderSince_);
        }
      }
      break;
    }
    case EntryKind::input: break;
  }
}

std::string RoomLog::markRefusal(DeviceId device, uint32_t frame) const {
  if (device != holder_) return "device " + std::to_string(device) + " does not have the say";
  if (frame < frontier_) return "frame " + std::to_string(frame) + " is before the log's frontier " + std::to_string(frontier_);
  return {};
}

void RoomLog::mark(uint32_t frame) {
  mark_ = std::max(mark_, frame);
  frontier_ = std::max(frontier_, mark_);
}

}  // namespace qn::net
