#include "shell/output_file.h"

#include <cerrno>
#include <cstring>

namespace qn {

OutputFile::~OutputFile() { close(); }

bool OutputFile::open(const std::string& path) {
  close();
  path_ = path;
  problem_.clear();
  file_ = std::fopen(path.c_str(), "wb");
  if (file_ == nullptr) fail("cannot create");
  return file_ != nullptr;
}

void OutputFile::write(std::string_view bytes, bool flushNow) {
  if (file_ == nullptr || failed()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() || (flushNow && std::fflush(file_) != 0))
    fail("cannot write");
}

bool OutputFile::close() {
  if (file_ != nullptr) {
    // Buffered bytes meet a full disk only here.
    if (std::fclose(file_) != 0 && !failed()) fail("cannot write");
    file_ = nullptr;
  }
  return !failed();
}

void OutputFile::fail(const char* what) {
  if (failed()) return;
  int error = errno;
  problem_ = path_ + ": " + what + ": " + (error != 0 ? std::strerror(error) : "unknown error");
}

std::string writeOutputFile(const std::string& path, std::string_view bytes) {
  OutputFile file;
  if (file.open(path)) file.write(bytes);
  file.close();
  return file.problem();
}

}  // namespace qn
