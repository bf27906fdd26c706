#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qn::platform {

// A whole file mapped read-only. Empty (data() null, size() 0) when the file could not be opened
// or mapped; an existing empty file maps as valid with size 0.
class MappedFile {
 public:
  MappedFile() = default;
  explicit MappedFile(const std::string& path);
  ~MappedFile();
  MappedFile(MappedFile&& other) noexcept;
  MappedFile& operator=(MappedFile&& other) noexcept;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  bool isOpen() const { return open_; }
  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  void close();

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  bool open_ = false;
};

// Reads a whole file into memory; false when it cannot be read.
bool readWholeFile(const std::string& path, std::string& contents);
// Creates or truncates a file and writes the bytes; false on any failure.
bool writeWholeFile(const std::string& path, const void* data, size_t size);

}  // namespace qn::platform
