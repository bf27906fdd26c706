#include "server/room_service.h"

#include <ctime>

#include "net/message_words.h"
#include "server/secrets.h"

namespace qn::server {

using net::ClientKind;
using net::ClientMessage;
using net::DeviceId;
using net::EntryKind;
using net::LogEntry;
using net::RefusalCode;
using net::ServerKind;
using net::ServerMessage;

namespace {

int64_t wallSeconds() { return static_cast<int64_t>(std::time(nullptr)); }

ServerMessage presence(DeviceId device, bool present) {
  ServerMessage message{ServerKind::here};
  message.device = device;
  message.present = present;
  return message;
}

ServerMessage entryMessage(uint32_t index, const LogEntry& entry) {
  ServerMessage message{ServerKind::entry};
  message.index = index;
  message.entry = entry;
  return message;
}

ServerMessage markMessage(uint32_t frame) {
  ServerMessage message{ServerKind::mark};
  message.frame = frame;
  return message;
}

}  // namespace

RoomService::RoomService(RoomStore& store, ServiceLimits limits) : store_(store), limits_(limits) {}

RoomService::~RoomService() = default;

int64_t RoomService::nowMs() const {
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started_).count();
}

bool RoomService::restore(std::string& problem) {
  std::vector<StoredRoom> stored;
  if (!store_.loadRooms(stored, problem)) return false;
  for (StoredRoom& kept : stored) {
    Room room{kept.build, net::RoomLog(1), {}, {}, false, false, kept.lastActive, {}, {}};
    for (const StoredDevice& device : kept.devices) room.devices[device.device].secret = device.secret;
    for (size_t index = 0; index < kept.entries.size(); ++index) {
      std::vector<std::string_view> words;
      LogEntry entry;
      std::string refusal = !net::splitMessage(kept.entries[index], words) ? "not words" : net::parseEntry(words, entry);
      if (refusal.empty()) refusal = room.log.refusal(entry);
      if (!refusal.empty()) {
        problem += "room " + kept.room.substr(0, 8) + "...: entry " + std::to_string(index) + " (" + refusal +
                   "): its log ends before it\n";
        break;
      }
      room.log.append(entry);
    }
    room.log.mark(kept.mark);
    // Nobody is connected yet: the host's grace runs from now.
    room.hostAwaySince = nowMs();
    rooms_.emplace(kept.room, std::move(room));
  }
  return true;
}

RoomService::PeerId RoomService::connected(Peer& peer) {
  const PeerId id = nextPeer_++;
  connections_.emplace(id, Connection{&peer, ConnectionBudget(limits_.connection, nowMs()), {}, 0, false});
  return id;
}

RoomService::Connection* RoomService::connection(PeerId peer) {
  auto found = connections_.find(peer);
  return found != connections_.end() ? &found->second : nullptr;
}

void RoomService::disconnected(PeerId peer) {
  Connection* gone = connection(peer);
  if (gone == nullptr) return;
  auto room = rooms_.find(gone->room);
  if (room != rooms_.end() && gone->device != 0) {
    Device& device = room->second.devices[gone->device];
    if (device.peer == peer) setPresence(room->second, gone->device, 0);
  }
  connections_.erase(peer);
}

void RoomService::closeAll() {
  std::vector<PeerId> all;
  for (const auto& [id, ignored] : connections_) all.push_back(id);
  for (PeerId peer : all) bye(peer, RefusalCode::shutdown, "the server stops");
}

size_t RoomService::forgetRoomsIdleFor(int64_t seconds) {
  const int64_t before = wallSeconds() - seconds;
  std::vector<std::string> idle;
  for (const auto& [name, room] : rooms_) {
    bool busy = room.writing || !room.waiting.empty() || room.lastActive >= before;
    for (const auto& [id, device] : room.devices) busy = busy || device.peer != 0;
    if (!busy) idle.push_back(name);
  }
  for (const std::string& name : idle) {
    store_.forgetRoom(name);
    rooms_.erase(name);
  }
  return idle.size();
}

void RoomService::send(PeerId peer, const ServerMessage& message) {
  if (Connection* to = connection(peer)) to->peer->send(net::formatServerMessage(message));
}

void RoomService::sendToRoom(const Room& room, const ServerMessage& message, PeerId except) {
  const std::string text = net::formatServerMessage(message);
  for (const auto& [id, device] : room.devices)
    if (device.peer != 0 && device.peer != except)
      if (Connection* to = connection(device.peer)) to->peer->send(text);
}

void RoomService::bye(PeerId peer, RefusalCode code, const std::string& reason) {
  Connection* to = connection(peer);
  if (to == nullptr) return;
  ServerMessage message{ServerKind::bye};
  message.code = code;
  message.reason = reason;
  to->peer->send(net::formatServerMessage(message));
  to->peer->close();
}

void RoomService::refuse(PeerId peer, uint32_t seq, RefusalCode code, const std::string& reason) {
  Connection* to = connection(peer);
  if (to == nullptr) return;
  ServerMessage message{ServerKind::refused};
  message.seq = seq;
  message.code = code;
  message.reason = reason;
  to->peer->send(net::formatServerMessage(message));
  if (to->budget.countRefusal(nowMs())) bye(peer, RefusalCode::abuse, "too many refused messages");
}

void RoomService::received(PeerId peer, std::string_view text) {
  Connection* from = connection(peer);
  if (from == nullptr) return;
  if (!from->budget.takeMessage(nowMs())) {
    refuse(peer, 0, RefusalCode::tooFast, "more messages than a connection may send; send them again later");
    return;
  }
  if (text.size() > net::kLargestMessage) {
    refuse(peer, 0, RefusalCode::tooLong, "longer than " + std::to_string(net::kLargestMessage) + " bytes");
    return;
  }
  ClientMessage message;
  if (std::string problem = net::parseClientMessage(text, message); !problem.empty()) {
    refuse(peer, 0, RefusalCode::malformed, problem);
    return;
  }
  const bool entering = message.kind == ClientKind::open || message.kind == ClientKind::join ||
                        message.kind == ClientKind::rejoin;
  const bool beforeRoom = entering || message.kind == ClientKind::find;
  if (from->entering || (entering && !from->room.empty())) {
    refuse(peer, message.entry.seq, RefusalCode::inRoom, "already in a room, or entering one");
    return;
  }
  if (!beforeRoom && from->room.empty()) {
    refuse(peer, message.entry.seq, RefusalCode::notInRoom, "open, join or rejoin a room first");
    return;
  }
  if (message.kind == ClientKind::find) {
    if (!from->room.empty() || from->entering) refuse(peer, 0, RefusalCode::inRoom, "already in a room");
    else find(peer, message.shortCode);
    return;
  }
  if (message.kind == ClientKind::open) {
    open(peer, message);
    return;
  }
  if (message.kind == ClientKind::code && !from->room.empty() && !from->entering) {
    if (auto room = rooms_.find(from->room); room != rooms_.end()) giveShortCode(room->second, from->room, peer);
    return;
  }
  const std::string name = entering ? message.room : from->room;
  auto room = rooms_.find(name);
  if (room == rooms_.end()) {
    refuse(peer, 0, RefusalCode::noRoom, "no room has that link");
    return;
  }
  if (entering) from->entering = true;
  room->second.waiting.push_back({peer, std::move(message)});
  drain(name);
}

void RoomService::drain(const std::string& name) {
  auto found = rooms_.find(name);
  if (found == rooms_.end()) return;
  Room& room = found->second;
  if (room.draining) return;
  room.draining = true;
  while (!room.writing && !room.waiting.empty()) {
    const Waiting next = std::move(room.waiting.front());
    room.waiting.pop_front();
    if (connection(next.peer) != nullptr) handle(name, room, next);
  }
  room.draining = false;
}

void RoomService::handle(const std::string& name, Room& room, const Waiting& waiting) {
  const ClientMessage& message = waiting.message;
  switch (message.kind) {
    case ClientKind::join: join(name, room, waiting.peer, message); break;
    case ClientKind::rejoin: rejoin(name, room, waiting.peer, message); break;
    case ClientKind::input:
    case ClientKind::handover:
    case ClientKind::digest: addEntry(name, room, waiting.peer, message.entry); break;
    case ClientKind::mark: mark(room, waiting.peer, message.frame); break;
    case ClientKind::leave: leave(name, room, waiting.peer); break;
    case ClientKind::open:
    case ClientKind::code:
    case ClientKind::find: break;
  }
}

void RoomService::storeThen(const std::string& name, Room& room, RoomWrite write, std::vector<LogEntry> entries, PeerId peer,
                            uint32_t seq, std::function<void(Room&)> then) {
  room.writing = true;
  write.firstIndex = static_cast<uint32_t>(room.log.size());
  write.mark = room.log.mark();
  write.time = wallSeconds();
  room.lastActive = write.time;
  for (const LogEntry& entry : entries) write.entries.push_back(net::formatEntry(entry));
  store_.write(name, write, [this, name, entries = std::move(entries), peer, seq, then = std::move(then)](WriteResult result,
                                                                                                         const std::string& problem) {
    auto found = rooms_.find(name);
    if (found == rooms_.end()) return;
    Room& stored = found->second;
    stored.writing = false;
    if (result != WriteResult::written) {
      if (Connection* from = connection(peer)) from->entering = false;
      refuse(peer, seq, RefusalCode::store, "the server could not keep it (" + problem + "); send it again");
    } else {
      for (const LogEntry& entry : entries) {
        const uint32_t index = static_cast<uint32_t>(stored.log.size());
        stored.log.append(entry);
        sendToRoom(stored, entryMessage(index, entry));
      }
      then(stored);
    }
    drain(name);
  });
}

void RoomService::open(PeerId peer, const ClientMessage& message) {
  if (rooms_.size() >= limits_.mostRooms) {
    refuse(peer, 0, RefusalCode::roomFull, "the server holds as many rooms as it may");
    return;
  }
  std::string name = randomSecret();
  while (rooms_.count(name) != 0) name = randomSecret();
  Room& room = rooms_.emplace(name, Room{message.build, net::RoomLog(1), {}, {}, false, false, wallSeconds(), {}, {}}).first->second;
  room.devices[1].secret = randomSecret();
  RoomWrite write;
  write.build = message.build;
  write.device = StoredDevice{1, room.devices[1].secret};
  connection(peer)->entering = true;
  room.writing = true;
  store_.write(name, write, [this, name, peer](WriteResult result, const std::string& problem) {
    auto found = rooms_.find(name);
    if (found == rooms_.end()) return;
    if (result != WriteResult::written) {
      rooms_.erase(found);
      if (Connection* from = connection(peer)) from->entering = false;
      refuse(peer, 0, RefusalCode::store, "the server could not keep the room (" + problem + ")");
      return;
    }
    found->second.writing = false;
    enter(name, found->second, peer, 1, 0);
    drain(name);
  });
}

void RoomService::find(PeerId peer, const std::string& code) {
  if (!connection(peer)->budget.takeFind(nowMs())) {
    refuse(peer, 0, RefusalCode::tooFast, "a few short codes a minute at most");
    return;
  }
  auto found = shortCodes_.find(code);
  if (found == shortCodes_.end() || found->second.expiresMs <= nowMs() || rooms_.count(found->second.room) == 0) {
    refuse(peer, 0, RefusalCode::noRoom, "no room has that code (it lives " + std::to_string(limits_.shortCodeSeconds / 60) +
                                             " minutes)");
    return;
  }
  ServerMessage answer(ServerKind::found);
  answer.room = found->second.room;
  send(peer, answer);
}

void RoomService::giveShortCode(Room& room, const std::string& name, PeerId peer) {
  if (room.shortCode.empty()) {
    std::string code = randomShortCode();
    while (shortCodes_.count(code) != 0) code = randomShortCode();
    shortCodes_[code] = {name, nowMs() + int64_t{limits_.shortCodeSeconds} * 1000};
    room.shortCode = code;
  }
  const ShortCode& live = shortCodes_.at(room.shortCode);
  ServerMessage answer(ServerKind::code);
  answer.shortCode = room.shortCode;
  answer.seconds = static_cast<uint32_t>(std::max<int64_t>(1, (live.expiresMs - nowMs()) / 1000));
  send(peer, answer);
}

void RoomService::enter(const std::string& name, Room& room, PeerId peer, DeviceId device, uint32_t from) {
  Connection* entering = connection(peer);
  if (entering == nullptr) return;
  entering->entering = false;
  entering->room = name;
  entering->device = device;
  Device& entered = room.devices[device];
  // The same device connected again: its older connection is stale.
  if (entered.peer != 0 && entered.peer != peer) {
    const PeerId stale = entered.peer;
    if (Connection* old = connection(stale)) old->device = 0;
    bye(stale, RefusalCode::inRoom, "the device connected again");
  }
  ServerMessage welcome{ServerKind::welcome};
  welcome.room = name;
  welcome.device = device;
  welcome.secret = entered.secret;
  welcome.seq = room.log.lastSeq(device);
  send(peer, welcome);
  for (uint32_t index = from; index < room.log.size(); ++index) send(peer, entryMessage(index, room.log.entries()[index]));
  send(peer, markMessage(room.log.mark()));
  for (const auto& [id, known] : room.devices)
    if (id != device) send(peer, presence(id, known.peer != 0));
  setPresence(room, device, peer);
}

void RoomService::setPresence(Room& room, DeviceId device, PeerId peer) {
  room.devices[device].peer = peer;
  if (device == room.log.host()) room.hostAwaySince = peer == 0 ? std::optional<int64_t>(nowMs()) : std::nullopt;
  sendToRoom(room, presence(device, peer != 0));
}

void RoomService::everySecond() {
  const int64_t now = nowMs();
  replaceAbsentHosts(now);
  for (auto code = shortCodes_.begin(); code != shortCodes_.end();) {
    if (code->second.expiresMs > now) {
      ++code;
      continue;
    }
    if (auto room = rooms_.find(code->second.room); room != rooms_.end()) room->second.shortCode.clear();
    code = shortCodes_.erase(code);
  }
}

void RoomService::replaceAbsentHosts(int64_t now) {
  for (auto& [name, room] : rooms_) {
    if (!room.hostAwaySince || now - *room.hostAwaySince < limits_.hostGraceMs || room.writing || !room.waiting.empty()) continue;
    // The device of the lowest seat that is here; none: the room waits on.
    LogEntry host(EntryKind::host);
    for (int32_t seat = 1; seat <= net::kSeats && host.device == 0; ++seat) {
      const DeviceId claimer = room.log.holderOf(seat);
      if (claimer != room.log.host() && room.devices[claimer].peer != 0) host.device = claimer;
    }
    if (host.device == 0 || !room.log.refusal(host).empty()) continue;
    room.hostAwaySince.reset();
    storeThen(name, room, RoomWrite{}, {host}, 0, 0, [](Room&) {});
  }
}

void RoomService::join(const std::string& name, Room& room, PeerId peer, const ClientMessage& message) {
  if (message.build != room.build) {
    bye(peer, RefusalCode::otherBuild, "this room plays another build of the game (" + room.build + ", this device " + message.build + ")");
    return;
  }
  const DeviceId device = static_cast<DeviceId>(room.devices.size()) + 1;
  if (device > net::kMostDevices) {
    connection(peer)->entering = false;
    refuse(peer, 0, RefusalCode::roomFull, "the room has as many devices as it may");
    return;
  }
  std::vector<LogEntry> claims;
  for (int32_t seat : message.seats) {
    LogEntry claim{EntryKind::seat};
    claim.device = device;
    claim.seat = seat;
    if (std::string refusal = room.log.refusal(claim); !refusal.empty()) {
      connection(peer)->entering = false;
      refuse(peer, 0, RefusalCode::seatTaken, refusal);
      return;
    }
    claims.push_back(claim);
  }
  const std::string secret = randomSecret();
  RoomWrite write;
  write.device = StoredDevice{device, secret};
  storeThen(name, room, write, claims, peer, 0, [this, name, peer, device, secret](Room& joined) {
    joined.devices[device].secret = secret;
    enter(name, joined, peer, device, 0);
  });
}

void RoomService::rejoin(const std::string& name, Room& room, PeerId peer, const ClientMessage& message) {
  auto known = room.devices.find(message.device);
  if (known == room.devices.end() || known->second.secret != message.secret) {
    connection(peer)->entering = false;
    refuse(peer, 0, RefusalCode::badSecret, "no such device in the room, or not its secret");
    return;
  }
  if (message.build != room.build) {
    bye(peer, RefusalCode::otherBuild, "this room plays another build of the game (" + room.build + ", this device " + message.build + ")");
    return;
  }
  if (room.log.hasLeft(message.device)) {
    connection(peer)->entering = false;
    refuse(peer, 0, RefusalCode::badSecret, "the device has left the room");
    return;
  }
  enter(name, room, peer, message.device, std::min<uint32_t>(message.from, static_cast<uint32_t>(room.log.size())));
}

void RoomService::addEntry(const std::string& name, Room& room, PeerId peer, LogEntry entry) {
  Connection* from = connection(peer);
  entry.device = from->device;
  if (entry.seq <= room.log.lastSeq(entry.device)) {
    ServerMessage ack{ServerKind::ack};
    ack.seq = entry.seq;
    send(peer, ack);
    return;
  }
  if (room.log.size() >= limits_.mostEntries) {
    refuse(peer, entry.seq, RefusalCode::roomFull, "the room's log is as long as it may be");
    return;
  }
  if (std::string refusal = room.log.refusal(entry); !refusal.empty()) {
    const bool outOfOrder = entry.seq != room.log.lastSeq(entry.device) + 1;
    refuse(peer, entry.seq, outOfOrder ? RefusalCode::sequence : RefusalCode::outOfTurn, refusal);
    return;
  }
  storeThen(name, room, RoomWrite{}, {entry}, peer, entry.seq, [](Room&) {});
}

void RoomService::mark(Room& room, PeerId peer, uint32_t frame) {
  const DeviceId device = connection(peer)->device;
  if (std::string refusal = room.log.markRefusal(device, frame); !refusal.empty()) {
    refuse(peer, 0, RefusalCode::outOfTurn, refusal);
    return;
  }
  if (frame <= room.log.mark()) return;
  room.log.mark(frame);
  sendToRoom(room, markMessage(frame), peer);
}

void RoomService::leave(const std::string& name, Room& room, PeerId peer) {
  LogEntry leaving{EntryKind::leave};
  leaving.device = connection(peer)->device;
  if (std::string refusal = room.log.refusal(leaving); !refusal.empty()) {
    refuse(peer, 0, RefusalCode::outOfTurn, refusal);
    return;
  }
  storeThen(name, room, RoomWrite{}, {leaving}, peer, 0, [this, peer, device = leaving.device](Room& left) {
    if (Connection* gone = connection(peer)) gone->device = 0;
    setPresence(left, device, 0);
    if (Connection* gone = connection(peer)) gone->peer->close();
  });
}

}  // namespace qn::server
