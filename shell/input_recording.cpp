#include "shell/input_recording.h"

#include <charconv>
#include <cstdio>
#include <memory>

#include "net/input_words.h"

namespace qn {

namespace {

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

// Empty when the line is good, else what is wrong with it.
std::string parseLine(const std::vector<std::string_view>& words, uint32_t previousFrame, TimedInput& event) {
  if (words.size() < 2) return "expected: frame, kind and values";
  auto [end, error] = std::from_chars(words[0].data(), words[0].data() + words[0].size(), event.frame);
  if (error != std::errc() || end != words[0].data() + words[0].size()) return "bad frame number";
  if (event.frame < previousFrame) return "frame numbers go backwards";
  return parseInputWords(std::span(words).subspan(1), event.input);
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
  std::string line = std::to_string(event.frame);
  line += ' ';
  line += formatInputWords(event.input);
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
