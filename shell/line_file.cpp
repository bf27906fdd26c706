#include "shell/line_file.h"

#include <cerrno>
#include <cstring>

namespace qn {

LineFile::~LineFile() { close(); }

bool LineFile::open(const std::string& path) {
  close();
  error_.clear();
  file_ = std::fopen(path.c_str(), "w");
  if (file_ == nullptr) fail("cannot create the file");
  return file_ != nullptr;
}

void LineFile::fail(const char* what) {
  if (error_.empty()) error_ = std::string(what) + ": " + std::strerror(errno);
}

void LineFile::writeLine(std::string_view line) {
  if (file_ == nullptr || !error_.empty()) return;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() || std::fputc('\n', file_) == EOF ||
      std::fflush(file_) != 0)
    fail("cannot write");
}

bool LineFile::close() {
  if (file_ == nullptr) return error_.empty();
  if (std::fclose(file_) != 0) fail("cannot finish writing");
  file_ = nullptr;
  return error_.empty();
}

}  // namespace qn
