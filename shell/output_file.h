// A file the program writes (a recording, a screenshot, the debug log, later reports): every
// write, flush and the close are checked, and the first failure is kept with the system's reason,
// so that the run can name the file and fail instead of leaving a short file behind unnoticed.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qn {

class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates or truncates the file; false (with the reason kept) when it cannot.
  bool open(const std::string& path);
  bool isOpen() const { return file_ != nullptr; }

  // Appends the bytes; `flushNow` hands them to the system at once, so that a reader sees them
  // while the program runs and a crash keeps them. Nothing more is written after a failure.
  void write(std::string_view bytes, bool flushNow = false);

  // Closes the file; false when anything since `open` failed (the close included).
  bool close();

  bool failed() const { return !problem_.empty(); }
  const std::string& path() const { return path_; }
  // "<path>: cannot create: <reason>" or "<path>: cannot write: <reason>"; empty while all went well.
  const std::string& problem() const { return problem_; }

 private:
  void fail(const char* what);

  std::FILE* file_ = nullptr;
  std::string path_;
  std::string problem_;
};

// Writes the whole file at once through an OutputFile; the problem, or empty on success.
std::string writeOutputFile(const std::string& path, std::string_view bytes);

}  // namespace qn
