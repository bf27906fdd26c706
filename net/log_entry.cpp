#include "net/log_entry.h"

#include <array>
#include <limits>

#include "net/input_words.h"
#include "net/message_words.h"

namespace qn::net {

namespace {

constexpr uint32_t kAny = std::numeric_limits<uint32_t>::max();

// Indexed by EntryKind; each kind's count of numbers before anything else it has.
struct EntryShape {
  std::string_view name;
  size_t numbers;  // the words after the name that are numbers
};
constexpr std::array<EntryShape, 6> kShapes = {{
    {"input", 3}, {"handover", 6}, {"digest", 4}, {"seat", 2}, {"leave", 1}, {"host", 1},
}};
static_assert(kShapes.size() == static_cast<size_t>(EntryKind::host) + 1);

}  // namespace

std::string formatEntry(const LogEntry& entry, bool withDevice) {
  std::string text(kShapes[static_cast<size_t>(entry.kind)].name);
  auto add = [&text](uint64_t number) {
    text += ' ';
    text += std::to_string(number);
  };
  if (withDevice) add(entry.device);
  switch (entry.kind) {
    case EntryKind::input:
      add(entry.seq);
      add(entry.frame);
      text += ' ';
      text += formatInputWords(entry.input);
      break;
    case EntryKind::handover:
      add(entry.seq);
      add(entry.frame);
      add(static_cast<uint32_t>(entry.seat));
      add(entry.to);
      add(entry.seatsVersion);
      break;
    case EntryKind::digest:
      add(entry.seq);
      add(entry.frame);
      add(entry.throwNumber);
      text += ' ';
      text += hex64(entry.hash);
      break;
    case EntryKind::seat: add(static_cast<uint32_t>(entry.seat)); break;
    case EntryKind::leave:
    case EntryKind::host: break;
  }
  return text;
}

std::string parseEntry(std::span<const std::string_view> words, LogEntry& entry, bool withDevice) {
  if (words.empty()) return "an empty entry";
  size_t kind = 0;
  while (kind < kShapes.size() && kShapes[kind].name != words[0]) ++kind;
  if (kind == kShapes.size()) return "unknown entry '" + std::string(words[0]) + "'";
  entry = LogEntry{static_cast<EntryKind>(kind)};
  const size_t skipped = withDevice ? 0 : 1;  // the device's number, not sent
  const size_t numbers = kShapes[kind].numbers - skipped;
  if (words.size() < 1 + numbers) return "too few words";
  uint32_t n[6] = {};
  // What each number may be: device, then per kind.
  struct Range {
    uint32_t low, high;
  };
  const Range device{1, kMostDevices}, any{0, kAny}, seq{1, kAny}, seat{0, kSeats}, claimable{1, kSeats};
  std::array<Range, 6> ranges{device};
  switch (entry.kind) {
    case EntryKind::input: ranges = {device, seq, any}; break;
    case EntryKind::handover: ranges = {device, seq, any, seat, device, any}; break;
    case EntryKind::digest: ranges = {device, seq, any, {1, kAny}}; break;
    case EntryKind::seat: ranges = {device, claimable}; break;
    case EntryKind::leave:
    case EntryKind::host: break;
  }
  for (size_t i = skipped; i < skipped + numbers; ++i) {
    const std::string_view word = words[1 + i - skipped];
    if (!parseNumber(word, ranges[i].low, ranges[i].high, n[i])) return "bad number '" + std::string(word) + "'";
  }
  entry.device = n[0];
  const std::span<const std::string_view> rest = words.subspan(1 + numbers);
  switch (entry.kind) {
    case EntryKind::input:
      entry.seq = n[1];
      entry.frame = n[2];
      return parseInputWords(rest, entry.input);
    case EntryKind::handover:
      entry.seq = n[1];
      entry.frame = n[2];
      entry.seat = static_cast<int32_t>(n[3]);
      entry.to = n[4];
      entry.seatsVersion = n[5];
      break;
    case EntryKind::digest:
      entry.seq = n[1];
      entry.frame = n[2];
      entry.throwNumber = n[3];
      if (rest.size() != 1 || !parseHex64(rest[0], entry.hash)) return "expected: a 16-digit hash";
      return {};
    case EntryKind::seat: entry.seat = static_cast<int32_t>(n[1]); break;
    case EntryKind::leave:
    case EntryKind::host: break;
  }
  return rest.empty() ? "" : "unexpected words at the end";
}

uint64_t lineDigest(std::string_view line) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (char c : line) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 0x100000001b3u;
  }
  return hash;
}

}  // namespace qn::net
