// A text file written a line at a time and flushed after each line, so another program can read
// it while this one runs. Every write is checked: the first failure is kept, and `close` answers
// whether everything reached the file.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace qn {

class LineFile {
 public:
  LineFile() = default;
  ~LineFile();
  LineFile(const LineFile&) = delete;
  LineFile& operator=(const LineFile&) = delete;

  // Creates or truncates the file; false (with the reason in `error()`) when it cannot.
  bool open(const std::string& path);
  void writeLine(std::string_view line);
  // True when no open, write or flush failed.
  bool close();
  const std::string& error() const { return error_; }

 private:
  void fail(const char* what);

  std::FILE* file_ = nullptr;
  std::string error_;
};

}  // namespace qn
