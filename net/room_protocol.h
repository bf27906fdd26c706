// The room protocol between a device (the desktop program, the browser's page, a load generator)
// and the room server (`boules-server`): WebSocket text messages, each one message of words
// (net/message_words.h: at most 320 bytes of printable ASCII, single spaces). Rooms and seat
// secrets are 32 lowercase hexadecimal digits (128 random bits); a build is the game's build id
// (net/build_id.h), 16 hexadecimal digits.
//
// A device sends, first one of:
//   find <code>                               the room of a short code (answered `found`; then
//                                             join it); only a few a minute
//   open <build>                              open a new room, this device its host (device 1)
//   join <room> <build> <seats>               join as a new device claiming `seats` (the seat
//                                             digits 1 to 4 in increasing order, "1" or "24";
//                                             "-" for none: a spectator)
//   rejoin <room> <device> <secret> <build> <from>
//                                             come back as that device (its seats kept), the log
//                                             wanted from entry `from` on
// and then, in the room:
//   input <seq> <frame> <input words>         }
//   handover <seq> <frame> <seat> <to> <seats> } entries for the log (net/log_entry.h), the
//   digest <seq> <frame> <throw> <hash>       } sender and its sequence number filled in
//   mark <frame>                              the device with the say has played every frame
//                                             before `frame` (every input before it is sent)
//   code                                      a short code for the room, to type on another
//                                             device instead of the link
//   leave                                     the device leaves for good; the server closes
//
// The server sends:
//   welcome <room> <device> <secret> <acked>  in the room as device `device`; `secret` brings it
//                                             back (rejoin); `acked` is the last sequence number
//                                             the log holds from it (send again what came after)
//   e <index> <entry words>                   the log's entry `index` (from 0): after a welcome
//                                             every entry from the one asked for, then each new
//                                             one as it is appended, to every device of the room,
//                                             its sender included (which is how a device learns
//                                             that the log holds what it sent)
//   mark <frame>                              the room's mark moved on
//   ack <seq>                                 the log already held that entry: sent again, taken once
//   here <device> <1|0>                       a device of the room connected or went away (after
//                                             a welcome, one for every device known)
//   code <code> <seconds>                     the room's short code and how long it lives
//   found <room>                              the room of the short code asked for
//   refused <seq> <code> <reason...>          a message was refused (seq 0 for one without a
//                                             sequence number); nothing of it was applied
//   bye <code> <reason...>                    the server closes the connection
//
// Refusal codes: see RefusalCode.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "net/log_entry.h"

namespace qn::net {

// Why a message was refused, as one word on the wire.
enum class RefusalCode : uint8_t {
  malformed,    // not a message of the protocol
  tooLong,      // over kLargestMessage bytes
  tooFast,      // over the rate a connection may send; send it again later
  notInRoom,    // a room message before open, join or rejoin
  inRoom,       // open, join or rejoin once in a room
  noRoom,       // no room has that link
  otherBuild,   // the room plays another build of the game
  badSecret,    // the device and secret do not match
  seatTaken,    // a seat claimed is held by another device
  roomFull,     // the room has as many devices as it may
  outOfTurn,    // the log refused the entry or mark (not the say, a frame in the past, ...)
  sequence,     // not the next sequence number; send again from the one after `acked`
  store,        // the server could not store it; send it again later
  abuse,        // too many refusals: the connection is closed
  shutdown,     // the server stops
};
std::string_view refusalWord(RefusalCode code);

// Short codes: kShortCodeLength letters and digits that cannot be taken for one another.
inline constexpr std::string_view kShortCodeSymbols = "23456789abcdefghjkmnpqrstuvwxyz";
inline constexpr size_t kShortCodeLength = 6;
bool isShortCode(std::string_view word);

enum class ClientKind : uint8_t { open, join, rejoin, input, handover, digest, mark, leave, code, find };

struct ClientMessage {
  explicit ClientMessage(ClientKind messageKind = ClientKind::open) : kind(messageKind) {}

  ClientKind kind;
  std::string build;             // open, join, rejoin
  std::string room;              // join, rejoin
  std::vector<int32_t> seats;    // join: increasing, each 1 to kSeats
  DeviceId device = 0;           // rejoin
  std::string secret;            // rejoin
  uint32_t from = 0;             // rejoin
  uint32_t frame = 0;            // mark
  LogEntry entry;                // input, handover, digest (`device` is not sent: the server knows it)
  std::string shortCode;         // find
  bool operator==(const ClientMessage&) const = default;
};

// Empty when `text` is a message of the protocol (then in `message`), else why not.
std::string parseClientMessage(std::string_view text, ClientMessage& message);
std::string formatClientMessage(const ClientMessage& message);

enum class ServerKind : uint8_t { welcome, entry, mark, ack, here, refused, bye, code, found };

struct ServerMessage {
  explicit ServerMessage(ServerKind messageKind = ServerKind::welcome) : kind(messageKind) {}

  ServerKind kind;
  std::string room;              // welcome, found
  DeviceId device = 0;           // welcome, here
  std::string secret;            // welcome
  uint32_t seq = 0;              // welcome (acked), ack, refused
  uint32_t index = 0;            // entry
  LogEntry entry;                // entry
  uint32_t frame = 0;            // mark
  bool present = false;          // here
  RefusalCode code = RefusalCode::malformed;  // refused, bye
  std::string reason;            // refused, bye: printable ASCII for a person
  std::string shortCode;         // code
  uint32_t seconds = 0;          // code: how long it lives
  bool operator==(const ServerMessage&) const = default;
};

std::string parseServerMessage(std::string_view text, ServerMessage& message);
// A reason too long for the message is shortened.
std::string formatServerMessage(const ServerMessage& message);

}  // namespace qn::net
