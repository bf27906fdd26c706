// One entry of a room's log (net/room_log.h), and its text as the server stores it and sends it
// to the devices (after "e <index> " on the wire, net/room_protocol.h):
//
//   input <device> <seq> <frame> <input words>            the device with the say gave this input
//                                                         before the tick of `frame`
//                                                         (input words: net/input_words.h)
//   handover <device> <seq> <frame> <seat> <to> <seats>   the device with the say hands it on: from
//                                                         `frame` on, seat `seat` has the say
//                                                         (0: the host's turns) and device `to`
//                                                         holds it, as the seat entries the sender
//                                                         had seen (the first `seats` of them) decide
//   digest <device> <seq> <frame> <throw> <hash>          the device with the say settled throw
//                                                         number `throw` in the tick of `frame`, and
//                                                         its report line hashes to `hash`
//   seat <device> <seat>                                  the device claims set-up seat `seat`
//   leave <device>                                        the device left for good: its seats go
//                                                         back to the host
//   host <device>                                         the device becomes the room's host
//
// `seq` counts the entries a device sent, from 1, so that a message sent twice (again after a
// lost connection) is known and applied once. The server writes the last three itself. Every
// number is decimal; `hash` is 16 lowercase hexadecimal digits.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "net/device_input.h"

namespace qn::net {

using DeviceId = uint32_t;  // 1 (the device that opened the room) to kMostDevices
inline constexpr DeviceId kMostDevices = 32;
// Set-up seats 1 to 4 (the game's player slots); seat 0 stands for the host's turns (the menu,
// help, the set-up, the computers' turns, the end screens).
inline constexpr int32_t kSeats = 4;
inline constexpr int32_t kHostSeat = 0;

enum class EntryKind : uint8_t { input, handover, digest, seat, leave, host };

struct LogEntry {
  explicit LogEntry(EntryKind entryKind = EntryKind::input) : kind(entryKind) {}

  EntryKind kind;
  DeviceId device = 0;         // the sender; the claimer (seat); who left (leave); the new host (host)
  uint32_t seq = 0;            // input, handover, digest: the sender's sequence number
  uint32_t frame = 0;          // input, handover, digest
  DeviceInput input;           // input
  int32_t seat = 0;            // handover: the seat whose turn begins; seat: the seat claimed
  DeviceId to = 0;             // handover: the device with the say from `frame` on
  uint32_t seatsVersion = 0;   // handover: how many seat entries decide who holds `seat`
  uint32_t throwNumber = 0;    // digest: the throws settled since the room's first frame, this one included
  uint64_t hash = 0;           // digest
  bool operator==(const LogEntry&) const = default;

  // Sent by a device, with a sequence number (the others the server writes).
  bool sentByDevice() const { return kind == EntryKind::input || kind == EntryKind::handover || kind == EntryKind::digest; }
  // Changes who holds a seat (each counts one in the seats version).
  bool changesSeats() const { return kind == EntryKind::seat || kind == EntryKind::leave || kind == EntryKind::host; }
};

// The entry's words; `parseEntry` reads them back (empty when good, else what is wrong). A device
// sends its entries without the device word (the server knows who sent them): `withDevice` false.
std::string formatEntry(const LogEntry& entry, bool withDevice = true);
std::string parseEntry(std::span<const std::string_view> words, LogEntry& entry, bool withDevice = true);

// The hash a digest carries: 64-bit FNV-1a of a report line without its line break.
uint64_t lineDigest(std::string_view line);

}  // namespace qn::net
