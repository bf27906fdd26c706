// Fuzzes the reading of `--replay` recordings: the input is the file, whatever it holds (comments,
// bad or huge numbers, frames that go back, long lines, NUL bytes). It is read as the program
// reads it, from a file, and parsed from memory as well; both must agree. A recording that is
// refused names the line that is wrong (the program then ends with exit code 6 before it
// starts); one that is accepted keeps its frames in order and prints back, line by line, to the
// very messages it was read as.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "shell/input_recording.h"

namespace {

[[noreturn]] void broken(const char* rule, const std::string& detail) {
  std::fprintf(stderr, "recording_fuzzer: %s (%s)\n", rule, detail.c_str());
  std::abort();
}

// Where the input is written for the program's own reading: one file per process, removed at exit.
struct RecordingFile {
  const std::string path = "/tmp/boules-recording-fuzzer-" + std::to_string(getpid()) + ".txt";
  ~RecordingFile() { std::remove(path.c_str()); }
};
const std::string& recordingPath() {
  static const RecordingFile file;
  return file.path;
}

void writeFile(const std::string& path, std::string_view text) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size() || std::fclose(file) != 0)
    broken("the input can be written to a file", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<qn::TimedInput> parsed, loaded;
  std::string parseError, loadError;
  const bool accepted = qn::parseRecording(text, parsed, parseError);

  writeFile(recordingPath(), text);
  const bool loadAccepted = qn::loadRecording(recordingPath(), loaded, loadError);
  if (loadAccepted != accepted || loaded != parsed) broken("the file reads as its text parses", loadError);

  if (!accepted) {
    if (!parseError.starts_with("line ") || loadError != "not a recording: " + parseError)
      broken("a refused recording names its line", loadError);
    return 0;
  }
  std::string printed;
  for (size_t i = 0; i < parsed.size(); ++i) {
    if (i > 0 && parsed[i].frame < parsed[i - 1].frame) broken("frame numbers never decrease", std::to_string(i));
    printed += qn::formatRecordingLine(parsed[i]);
  }
  std::vector<qn::TimedInput> reread;
  std::string rereadError;
  if (!qn::parseRecording(printed, reread, rereadError) || reread != parsed)
    broken("an accepted recording prints back to the same messages", rereadError);
  return 0;
}
