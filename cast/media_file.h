// The media binding: where the packed media data lives for this run (the program's embedded
// copy, else the external file mapped read-only), its validation with the three dialogs the user
// may see, and the hand-out of member bytes. The data is read-only and never copied: stored blobs
// are handed out in place, compressed ones are inflated into a buffer that the caller owns.
//
// Every blob range the cast table names is checked against the media length; a blob that does
// not lie wholly inside the data reads as missing, like any other unreadable blob.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cast/load_failure.h"
#include "engine/media_service.h"
#include "platform/mapped_file.h"
#include "sound/purge_members.h"

namespace qn {

// A member's unpacked bytes: either a view into the media data or an inflated buffer this
// object owns and frees. Empty (null data) when the blob could not be read: with the reason when
// it is damaged, without one when there was nothing to read.
class MemberBytes {
 public:
  MemberBytes() = default;
  static MemberBytes failed(LoadFailure failure) {
    MemberBytes bytes;
    bytes.failure_ = failure;
    return bytes;
  }
  static MemberBytes inPlace(const uint8_t* data, size_t size) { return MemberBytes(data, size, nullptr); }
  static MemberBytes owned(std::unique_ptr<uint8_t[]> buffer, size_t size) {
    const uint8_t* data = buffer.get();
    return MemberBytes(data, size, std::move(buffer));
  }

  const uint8_t* data() const { return data_; }
  size_t size() const { return size_; }
  bool ownsBuffer() const { return owned_ != nullptr; }
  LoadFailure failure() const { return failure_; }
  explicit operator bool() const { return data_ != nullptr; }

 private:
  MemberBytes(const uint8_t* data, size_t size, std::unique_ptr<uint8_t[]> owned)
      : data_(data), size_(size), owned_(std::move(owned)), failure_(LoadFailure::none) {}

  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  std::unique_ptr<uint8_t[]> owned_;
  LoadFailure failure_ = LoadFailure::nothingToRead;
};

// Allocates `size` bytes; when that fails, purges twice the size once and tries once more.
std::unique_ptr<uint8_t[]> allocateWithPurge(size_t size, const PurgeMembers& purge);

// A file name from the cast or the movie: "/" or "\" in front makes it a full path (backslashes
// read as slashes); any other name lies in the program's own folder.
std::string programRelativePath(const std::string& name);

class MediaFile final : public MediaService {
 public:
  // MediaService: binds, then validates against the expected size with the dialogs.
  MediaCheck open(std::string_view mediaFileName, int64_t expectedSize) override;
  void close() override;

  // Binds the embedded media when the program has it, else the named external file. Stays
  // unbound when neither can be had. Above scale 1, the finer media set of that scale: the one
  // embedded, else the file named after the media file ("MyMovie@4x.qmf") in the same folder.
  void bind(const std::string& mediaFileName, int32_t scale = 1);
  void bindBytes(const uint8_t* data, size_t length);  // embedded data, or data held elsewhere
  void bindOwned(std::vector<uint8_t> bytes);           // data handed over, kept while bound
  bool bindFile(const std::string& path);

  bool isBound() const { return data_ != nullptr || mapped_.isOpen(); }
  // The media file name `bind` was given, or empty.
  const std::string& name() const { return name_; }
  const uint8_t* data() const { return data_; }
  size_t length() const { return length_; }

  // The start-up checks, in their fixed order; anything but accepted means the application is to
  // close. `expectedSize` 0 switches every check off.
  MediaCheck validate(int64_t expectedSize, const std::string& mediaFileName) const;

  // The blob's unpacked bytes, or empty for a non-positive unpacked size, an unbound file, a range
  // outside the data, exhausted memory (after one purge and retry) or a damaged zlib stream.
  MemberBytes fetchMemberData(int32_t offset, int32_t packedSize, int32_t unpackedSize) const;

  void setPurge(PurgeMembers purge) { purge_ = std::move(purge); }
  const PurgeMembers& purge() const { return purge_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t length_ = 0;
  std::string name_;
  platform::MappedFile mapped_;
  std::vector<uint8_t> owned_;
  PurgeMembers purge_;
};

}  // namespace qn
