#include "net/room_protocol.h"

#include <algorithm>
#include <array>
#include <limits>

#include "net/message_words.h"

namespace qn::net {

namespace {

constexpr uint32_t kAny = std::numeric_limits<uint32_t>::max();

// Indexed by RefusalCode.
constexpr std::array<std::string_view, 15> kRefusalWords = {
    "malformed", "toolong", "toofast", "notinroom", "inroom", "noroom", "otherbuild", "badsecret",
    "seattaken", "roomfull", "outofturn", "sequence", "store", "abuse", "shutdown"};
static_assert(kRefusalWords.size() == static_cast<size_t>(RefusalCode::shutdown) + 1);

// Indexed by ClientKind and ServerKind.
constexpr std::array<std::string_view, 10> kClientWords = {"open", "join", "rejoin", "input", "handover",
                                                           "digest", "mark", "leave", "code", "find"};
static_assert(kClientWords.size() == static_cast<size_t>(ClientKind::find) + 1);
constexpr std::array<std::string_view, 9> kServerWords = {"welcome", "e", "mark", "ack", "here", "refused", "bye", "code", "found"};
static_assert(kServerWords.size() == static_cast<size_t>(ServerKind::found) + 1);

// The entry kinds a device sends, by ClientKind.
constexpr EntryKind entryKindOf(ClientKind kind) {
  return kind == ClientKind::input ? EntryKind::input : kind == ClientKind::handover ? EntryKind::handover : EntryKind::digest;
}

template <size_t N>
bool findWord(const std::array<std::string_view, N>& table, std::string_view word, size_t& index) {
  for (index = 0; index < N; ++index)
    if (table[index] == word) return true;
  return false;
}

bool isBuild(std::string_view word) {
  uint64_t ignored = 0;
  return parseHex64(word, ignored);
}

// "-" or the seat digits in increasing order.
bool parseSeats(std::string_view word, std::vector<int32_t>& seats) {
  seats.clear();
  if (word == "-") return true;
  int32_t previous = 0;
  for (char c : word) {
    const int32_t seat = c - '0';
    if (seat <= previous || seat > kSeats) return false;
    seats.push_back(seat);
    previous = seat;
  }
  return !seats.empty();
}

std::string seatsWord(const std::vector<int32_t>& seats) {
  std::string word;
  for (int32_t seat : seats) word += static_cast<char>('0' + seat);
  return word.empty() ? "-" : word;
}

// The reason's words, joined again (a reason is printable ASCII in single-spaced words).
std::string reasonOf(const std::vector<std::string_view>& words, size_t first) {
  std::string reason;
  for (size_t i = first; i < words.size(); ++i) {
    if (!reason.empty()) reason += ' ';
    reason += words[i];
  }
  return reason;
}

// A reason as it may travel: printable ASCII, single spaces, short enough for the message.
std::string cleanReason(std::string_view reason, size_t room) {
  std::string clean;
  for (char c : reason) {
    const char kept = c >= '!' && c <= '~' ? c : ' ';
    if (kept == ' ' && (clean.empty() || clean.back() == ' ')) continue;
    clean += kept;
  }
  if (!clean.empty() && clean.back() == ' ') clean.pop_back();
  if (clean.size() > room) clean.resize(room);
  while (!clean.empty() && clean.back() == ' ') clean.pop_back();
  return clean.empty() ? "-" : clean;
}

}  // namespace

std::string_view refusalWord(RefusalCode code) { return kRefusalWords[static_cast<size_t>(code)]; }

bool isShortCode(std::string_view word) {
  return word.size() == kShortCodeLength &&
         std::all_of(word.begin(), word.end(), [](char c) { return kShortCodeSymbols.find(c) != std::string_view::npos; });
}

std::string parseClientMessage(std::string_view text, ClientMessage& message) {
  std::vector<std::string_view> words;
  if (text.size() > kLargestMessage) return "longer than " + std::to_string(kLargestMessage) + " bytes";
  if (!splitMessage(text, words)) return "not words of printable ASCII separated by single spaces";
  size_t kind = 0;
  if (!findWord(kClientWords, words[0], kind)) return "unknown message '" + std::string(words[0]) + "'";
  message = ClientMessage{static_cast<ClientKind>(kind)};
  auto expect = [&](size_t count) { return words.size() == count ? "" : "expected " + std::to_string(count - 1) + " words after " + std::string(words[0]); };
  switch (message.kind) {
    case ClientKind::open:
      if (std::string problem = expect(2); !problem.empty()) return problem;
      if (!isBuild(words[1])) return "bad build";
      message.build = words[1];
      return {};
    case ClientKind::join:
      if (std::string problem = expect(4); !problem.empty()) return problem;
      if (!isSecret(words[1])) return "bad room";
      if (!isBuild(words[2])) return "bad build";
      if (!parseSeats(words[3], message.seats)) return "bad seats";
      message.room = words[1];
      message.build = words[2];
      return {};
    case ClientKind::rejoin:
      if (std::string problem = expect(6); !problem.empty()) return problem;
      if (!isSecret(words[1])) return "bad room";
      if (!parseNumber(words[2], 1, kMostDevices, message.device)) return "bad device";
      if (!isSecret(words[3])) return "bad secret";
      if (!isBuild(words[4])) return "bad build";
      if (!parseNumber(words[5], 0, kAny, message.from)) return "bad entry index";
      message.room = words[1];
      message.secret = words[3];
      message.build = words[4];
      return {};
    case ClientKind::input:
    case ClientKind::handover:
    case ClientKind::digest: {
      std::string problem = parseEntry(words, message.entry, false);
      if (problem.empty() && message.entry.kind != entryKindOf(message.kind)) problem = "unexpected entry";
      return problem;
    }
    case ClientKind::mark:
      if (std::string problem = expect(2); !problem.empty()) return problem;
      if (!parseNumber(words[1], 0, kAny, message.frame)) return "bad frame";
      return {};
    case ClientKind::leave:
    case ClientKind::code: return expect(1);
    case ClientKind::find:
      if (std::string problem = expect(2); !problem.empty()) return problem;
      if (!isShortCode(words[1])) return "bad code";
      message.shortCode = words[1];
      return {};
  }
  return "unknown message";
}

std::string formatClientMessage(const ClientMessage& message) {
  std::string text(kClientWords[static_cast<size_t>(message.kind)]);
  switch (message.kind) {
    case ClientKind::open: return text + " " + message.build;
    case ClientKind::join: return text + " " + message.room + " " + message.build + " " + seatsWord(message.seats);
    case ClientKind::rejoin:
      return text + " " + message.room + " " + std::to_string(message.device) + " " + message.secret + " " +
             message.build + " " + std::to_string(message.from);
    case ClientKind::input:
    case ClientKind::handover:
    case ClientKind::digest: return formatEntry(message.entry, false);
    case ClientKind::mark: return text + " " + std::to_string(message.frame);
    case ClientKind::leave:
    case ClientKind::code: return text;
    case ClientKind::find: return text + " " + message.shortCode;
  }
  return text;
}

std::string parseServerMessage(std::string_view text, ServerMessage& message) {
  std::vector<std::string_view> words;
  if (!splitMessage(text, words)) return "not words of printable ASCII separated by single spaces";
  size_t kind = 0;
  if (!findWord(kServerWords, words[0], kind)) return "unknown message '" + std::string(words[0]) + "'";
  message = ServerMessage{static_cast<ServerKind>(kind)};
  auto refusal = [&](size_t at) -> std::string {
    size_t code = 0;
    if (words.size() <= at || !findWord(kRefusalWords, words[at], code)) return "bad refusal code";
    message.code = static_cast<RefusalCode>(code);
    message.reason = reasonOf(words, at + 1);
    return {};
  };
  switch (message.kind) {
    case ServerKind::welcome:
      if (words.size() != 5 || !isSecret(words[1]) || !parseNumber(words[2], 1, kMostDevices, message.device) ||
          !isSecret(words[3]) || !parseNumber(words[4], 0, kAny, message.seq))
        return "bad welcome";
      message.room = words[1];
      message.secret = words[3];
      return {};
    case ServerKind::entry:
      if (words.size() < 3 || !parseNumber(words[1], 0, kAny, message.index)) return "bad entry index";
      return parseEntry(std::span(words).subspan(2), message.entry);
    case ServerKind::mark:
      return words.size() == 2 && parseNumber(words[1], 0, kAny, message.frame) ? "" : "bad mark";
    case ServerKind::ack:
      return words.size() == 2 && parseNumber(words[1], 1, kAny, message.seq) ? "" : "bad ack";
    case ServerKind::here: {
      if (words.size() != 3 || !parseNumber(words[1], 1, kMostDevices, message.device) || (words[2] != "1" && words[2] != "0"))
        return "bad presence";
      message.present = words[2] == "1";
      return {};
    }
    case ServerKind::refused:
      if (words.size() < 3 || !parseNumber(words[1], 0, kAny, message.seq)) return "bad refusal";
      return refusal(2);
    case ServerKind::bye: return refusal(1);
    case ServerKind::code:
      if (words.size() != 3 || !isShortCode(words[1]) || !parseNumber(words[2], 1, kAny, message.seconds)) return "bad code";
      message.shortCode = words[1];
      return {};
    case ServerKind::found:
      if (words.size() != 2 || !isSecret(words[1])) return "bad room";
      message.room = words[1];
      return {};
  }
  return "unknown message";
}

std::string formatServerMessage(const ServerMessage& message) {
  std::string text(kServerWords[static_cast<size_t>(message.kind)]);
  auto withReason = [&](std::string head) {
    head += ' ';
    head += refusalWord(message.code);
    head += ' ';
    return head + cleanReason(message.reason, kLargestMessage - head.size());
  };
  switch (message.kind) {
    case ServerKind::welcome:
      return text + " " + message.room + " " + std::to_string(message.device) + " " + message.secret + " " +
             std::to_string(message.seq);
    case ServerKind::entry: return text + " " + std::to_string(message.index) + " " + formatEntry(message.entry);
    case ServerKind::mark: return text + " " + std::to_string(message.frame);
    case ServerKind::ack: return text + " " + std::to_string(message.seq);
    case ServerKind::here: return text + " " + std::to_string(message.device) + (message.present ? " 1" : " 0");
    case ServerKind::refused: return withReason(text + " " + std::to_string(message.seq));
    case ServerKind::bye: return withReason(text);
    case ServerKind::code: return text + " " + message.shortCode + " " + std::to_string(message.seconds);
    case ServerKind::found: return text + " " + message.room;
  }
  return text;
}

}  // namespace qn::net
