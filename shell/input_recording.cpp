#include "shell/input_recording.h"

#include <array>
#include <charconv>
#include <limits>

namespace qn {

namespace {

// Indexed by InputKind.
constexpr std::array<std::string_view, kInputKindCount> kKindNames = {"down",    "up",    "move", "doubletap",
                                                                      "keydown", "keyup", "char"};
static_assert(kKindNames.size() == static_cast<size_t>(InputKind::character) + 1);

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
  if (words.size() < 3) return "expected: frame, kind and values";
  if (!parseNumber(words[0], std::numeric_limits<uint32_t>::max(), event.frame)) return "bad frame number";
  if (event.frame < previousFrame) return "frame numbers go backwards";
  size_t kind = 0;
  while (kind < kKindNames.size() && kKindNames[kind] != words[1]) ++kind;
  if (kind == kKindNames.size()) return "unknown kind '" + std::string(words[1]) + "'";
  event.input = DeviceInput{static_cast<InputKind>(kind)};
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
  line += " " + std::to_string(input.value);
  if (input.isStylus()) line += " " + std::to_string(input.y);
  if (!input.isStylus() && input.extended) line += " extended";
  return line + "\n";
}

InputRecorder::~InputRecorder() {
  if (file_ != nullptr) std::fclose(file_);
}

bool InputRecorder::open(const std::string& path) {
  file_ = std::fopen(path.c_str(), "w");
  if (file_ == nullptr) return false;
  std::fputs("# boules input recording: <frame> <kind> <values>\n", file_);
  return true;
}

void InputRecorder::write(uint32_t frame, const DeviceInput& input) {
  if (file_ == nullptr) return;
  std::string line = formatRecordingLine({frame, input});
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

}  // namespace qn
