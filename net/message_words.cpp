#include "net/message_words.h"

#include <algorithm>

namespace qn::net {

namespace {

bool isLowerHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

}  // namespace

bool splitMessage(std::string_view message, std::vector<std::string_view>& words) {
  words.clear();
  if (message.empty() || message.size() > kLargestMessage) return false;
  size_t start = 0;
  for (size_t at = 0; at <= message.size(); ++at) {
    if (at < message.size() && message[at] != ' ') {
      if (message[at] < '!' || message[at] > '~') return false;
      continue;
    }
    if (at == start || words.size() == kMostWords) return false;  // an empty word: a space too many
    words.push_back(message.substr(start, at - start));
    start = at + 1;
  }
  return true;
}

bool parseNumber(std::string_view word, uint32_t low, uint32_t high, uint32_t& number) {
  if (word.empty() || word.size() > 10 || (word.size() > 1 && word[0] == '0')) return false;
  uint64_t value = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value < low || value > high) return false;
  number = static_cast<uint32_t>(value);
  return true;
}

bool parseHex64(std::string_view word, uint64_t& value) {
  if (word.size() != 16 || !std::all_of(word.begin(), word.end(), isLowerHex)) return false;
  value = 0;
  for (char c : word) value = value << 4 | static_cast<uint64_t>(c <= '9' ? c - '0' : c - 'a' + 10);
  return true;
}

std::string hex64(uint64_t value) {
  std::string text(16, '0');
  for (size_t i = 16; i-- > 0; value >>= 4) text[i] = "0123456789abcdef"[value & 15];
  return text;
}

bool isSecret(std::string_view word) {
  return word.size() == kSecretDigits && std::all_of(word.begin(), word.end(), isLowerHex);
}

}  // namespace qn::net
