// The words of a room protocol message (net/room_protocol.h), read strictly: at most
// kLargestMessage bytes of printable ASCII, words separated by single spaces, nothing before the
// first word or after the last, at most kMostWords words. Whatever breaks a rule is refused whole,
// never guessed at: a message is either exactly one the protocol spells or it is bad.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qn::net {

// Room links and seat secrets: 128 random bits as 32 lowercase hexadecimal digits.
inline constexpr size_t kSecretDigits = 32;
// The largest message the protocol sends, in bytes: the longest legitimate one is a refusal
// with its reason, well below it.
inline constexpr size_t kLargestMessage = 320;
inline constexpr size_t kMostWords = 40;

// Splits `message` into its words; false when it breaks a rule above.
bool splitMessage(std::string_view message, std::vector<std::string_view>& words);

// A decimal number from `low` to `high`: digits only, no sign, no leading zero (but "0").
bool parseNumber(std::string_view word, uint32_t low, uint32_t high, uint32_t& number);
// A 64-bit value as exactly 16 lowercase hexadecimal digits, and back.
bool parseHex64(std::string_view word, uint64_t& value);
std::string hex64(uint64_t value);
// A secret as the protocol spells it (kSecretDigits lowercase hexadecimal digits).
bool isSecret(std::string_view word);

}  // namespace qn::net
