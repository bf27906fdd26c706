#include "net/input_words.h"

#include <array>
#include <charconv>

namespace qn {

namespace {

// Indexed by InputKind.
constexpr std::array<std::string_view, kInputKindCount> kKindNames = {
    "down", "up", "move", "doubletap", "keydown", "keyup", "char", "focuslost", "focusgained"};
static_assert(kKindNames.size() == static_cast<size_t>(InputKind::focusGained) + 1);

constexpr uint32_t kLargestValue = 0xFFFF;

bool parseValue(std::string_view word, uint32_t& number) {
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
  return error == std::errc() && end == word.data() + word.size() && number <= kLargestValue;
}

}  // namespace

std::string parseInputWords(std::span<const std::string_view> words, DeviceInput& input) {
  if (words.empty()) return "expected: frame, kind and values";
  size_t kind = 0;
  while (kind < kKindNames.size() && kKindNames[kind] != words[0]) ++kind;
  if (kind == kKindNames.size()) return "unknown kind '" + std::string(words[0]) + "'";
  input = DeviceInput{static_cast<InputKind>(kind)};
  if (input.isFocus()) return words.size() == 1 ? "" : "unexpected text after the kind";
  if (words.size() < 2) return "expected: frame, kind and values";
  if (!parseValue(words[1], input.value)) return "value out of range 0..65535";
  if (input.isStylus()) {
    if (words.size() != 3 || !parseValue(words[2], input.y)) return "expected: x and y";
    return {};
  }
  if (words.size() == 3 && words[2] == "extended") {
    input.extended = true;
  } else if (words.size() != 2) {
    return "unexpected text after the value";
  }
  return {};
}

std::string formatInputWords(const DeviceInput& input) {
  std::string words(kKindNames[static_cast<size_t>(input.kind)]);
  if (input.isFocus()) return words;
  // Appended piece by piece: GCC 12 at -O3 misreads `" " + std::to_string(...)` as an
  // overlapping copy (-Wrestrict) and the release build stops.
  words += ' ';
  words += std::to_string(input.value);
  if (input.isStylus()) {
    words += ' ';
    words += std::to_string(input.y);
  } else if (input.extended) {
    words += " extended";
  }
  return words;
}

}  // namespace qn
