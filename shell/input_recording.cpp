#include "shell/input_recording.h"

#include <array>
#include <charconv>
#include <cstdio>
#include <limits>
#include <memory>

namespace qn {

namespace {

// Indexed by InputKind.
constexpr std::array<std::string_view, kInputKindCount> kKindNames = {
    "down", "up", "move", "doubletap", "keydown", "keyup", "char", "focuslost", "focusgained"};
static_assert(kKindNames.size() == static_cast<size_t>(InputKind::focusGained) + 1);

std::vector<std::string_view> wordsOf(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    at = line.find_first_not_of(" \t\r", at);
    if (at == std::string_view::npos) break;
    size_t end = line.find_first_of(" \t\r", at);
    if (end == std::string_view::npos) end = line.size();
    words.push_back(line.substr(at, end - at));
    at = end;
  }
  return words;
}

bool parseNumber(std::string_view word, uint32_t limit, uint32_t& number) {
  auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), number);
  return error == std::errc() && end == word.data() + word.size() && number <= limit;
}

// Empty when the line is good, else what is wrong with it.
std::string parseLine(const std::vector<std::string_view>& words, uint32_t previousFrame, TimedInput& event) {
  if (words.size() < 2) return "expected: frame, kind and values";
  if (!parseNumber(words[0], std::numeric_limits<uint32_t>::max(), event.frame)) return "bad frame number";
  if (event.frame < previousFrame) return "frame numbers go backwards";
  size_t kind = 0;
  while (kind < kKindNames.size() && kKindNames[kind] != words[1]) ++kind;
  if (kind == kKindNames.size()) return "unknown kind '" + std::string(words[1]) + "'";
  event.input = DeviceInput{static_cast<InputKind>(kind)};
  if (event.input.isFocus()) return words.size() == 2 ? "" : "unexpected text after the kind";
  if (words.size() < 3) return "expected: frame, kind and values";
  if (!parseNumber(words[2], 0xFFFF, event.input.value)) return "value out of range 0..65535";
  if (event.input.isStylus()) {
    if (words.size() != 4 || !parseNumber(words[3], 0xFFFF, event.input.y)) return "expected: x and y";
    return {};
  }
  if (words.size() == 4 && words[3] == "extended") {
    event.input.extended = true;
  } else if (words.size() != 3) {
    return "unexpected text after the value";
  }
  return {};
}

}  // namespace

bool parseRecording(std::string_view text, std::vector<TimedInput>& events, std::string& error) {
  events.clear();
  // Editors on some systems start a UTF-8 text with a byte-order mark.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark) text.remove_prefix(kByteOrderMark.size());
  int lineNumber = 0;
  while (!text.empty()) {
    ++lineNumber;
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    auto words = wordsOf(line);
    if (words.empty() || words[0].front() == '#') continue;
    TimedInput event;
    std::string problem = parseLine(words, events.empty() ? 0 : events.back().frame, event);
    if (!problem.empty()) {
      error = "line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
    events.push_back(event);
  }
  return true;
}

std::string formatRecordingLine(const TimedInput& event) {
  const DeviceInput& input = event.input;
  std::string line = std::to_string(event.frame) + " ";
  line += kKindNames[static_cast<size_t>(input.kind)];
  if (input.isFocus()) return line + "\n";
  // Appended piece by piece: GCC 12 at -O3 misreads `" " + std::to_string(...)` as an
  // overlapping copy (-Wrestrict) and the release build stops.
  line += ' ';
  line += std::to_string(input.value);
  if (input.isStylus()) {
    line += ' ';
    line += std::to_string(input.y);
  }
  if (!input.isStylus() && input.extended) line += " extended";
  return line + "\n";
}

bool loadRecording(const std::string& path, std::vector<TimedInput>& events, std::string& error) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
  if (!file) {
    error = "cannot read the file";
    return false;
  }
  // One byte beyond the limit tells a file that is too large from one that fills it exactly.
  std::string text;
  char buffer[65536];
  size_t got;
  while (text.size() <= kLargestRecording && (got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
    text.append(buffer, got);
  if (std::ferror(file.get())) {
    error = "cannot read the file";
    return false;
  }
  if (text.size() > kLargestRecording) {
    error = "larger than " + std::to_string(kLargestRecording >> 20) + " MiB, not a recording";
    return false;
  }
  if (!parseRecording(text, events, error)) {
    error = "not a recording: " + error;
    return false;
  }
  return true;
}

bool InputRecorder::open(const std::string& path) {
  if (!file_.open(path)) return false;
  file_.write("# boules input recording: <frame> <kind> <values>\n", true);
  return true;
}

void InputRecorder::write(uint32_t frame, const DeviceInput& input) {
  file_.write(formatRecordingLine({frame, input}), true);
}

}  // namespace qn
