#include "cast/media_file.h"

#include <zlib.h>

#include <algorithm>
#include <new>

#include "cast/media_format.h"
#include "cast/scaled_media_format.h"
#include "platform/embedded_media.h"
#include "platform/platform.h"

namespace qn {

namespace {

// zlib cannot expand data by more than about 1032 to 1; a blob claiming more is damaged, and
// refusing it early keeps a bad cast row from asking for gigabytes.
constexpr int64_t kLargestInflateRatio = 1032;
constexpr int64_t kInflateSlack = 64;

// Yes plays on as if the check had passed; No ends the program for that reason.
MediaCheck askToContinue(const std::string& text, const char* caption, MediaCheck refusal) {
  bool yes = platform::messageBox(text, caption, platform::MessageBoxButtons::yesNo) == platform::MessageBoxAnswer::yes;
  return yes ? MediaCheck::accepted : refusal;
}

}  // namespace

std::unique_ptr<uint8_t[]> allocateWithPurge(size_t size, const PurgeMembers& purge) {
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[size]);
  if (!buffer && purge) {
    purge(std::min<size_t>(size, SIZE_MAX / 2) * 2);
    buffer.reset(new (std::nothrow) uint8_t[size]);
  }
  return buffer;
}

std::string programRelativePath(const std::string& name) {
  if (!name.empty() && (name[0] == '/' || name[0] == '\\')) {
    std::string path = name;
    for (char& c : path)
      if (c == '\\') c = '/';
    return path;
  }
  return platform::executableFolder() + "/" + name;
}

MediaCheck MediaFile::open(std::string_view mediaFileName, int64_t expectedSize) {
  std::string name(mediaFileName);
  bind(name);
  return validate(expectedSize, name);
}

void MediaFile::bind(const std::string& mediaFileName, int32_t scale) {
  close();
  platform::EmbeddedMedia embedded = platform::embeddedMedia(scale);
  if (embedded.data)
    bindBytes(embedded.data, embedded.size);
  else
    bindFile(programRelativePath(scale == 1 ? mediaFileName : scaledMediaFileName(mediaFileName, scale)));
  name_ = mediaFileName;
}

void MediaFile::bindBytes(const uint8_t* data, size_t length) {
  close();
  data_ = data;
  length_ = data ? length : 0;
}

void MediaFile::bindOwned(std::vector<uint8_t> bytes) {
  close();
  owned_ = std::move(bytes);
  data_ = owned_.data();
  length_ = owned_.size();
}

bool MediaFile::bindFile(const std::string& path) {
  close();
  platform::MappedFile file(path);
  if (!file.isOpen()) return false;
  mapped_ = std::move(file);
  data_ = mapped_.data();
  length_ = mapped_.size();
  return true;
}

void MediaFile::close() {
  mapped_ = platform::MappedFile();
  owned_ = std::vector<uint8_t>();
  data_ = nullptr;
  length_ = 0;
  name_.clear();
}

MediaCheck MediaFile::validate(int64_t expectedSize, const std::string& mediaFileName) const {
  if (expectedSize == 0) return MediaCheck::accepted;
  if (!isBound())
    return askToContinue("Failed to find mediaFile: " + mediaFileName + "\r\nContinue playback?", "Missing Mediafile",
                         MediaCheck::missing);
  if (!mediaBytesAreValid(data_, length_)) {
    platform::messageBox("Invalid Mediafile.  Application is aborting.", "Invalid Mediafile",
                         platform::MessageBoxButtons::ok);
    return MediaCheck::invalid;
  }
  if (expectedSize > 0 && length_ == static_cast<size_t>(expectedSize)) return MediaCheck::accepted;
  return askToContinue("Mediafile size (" + std::to_string(length_) + ") does not match expected size (" +
                           std::to_string(expectedSize) + ")\r\nContinue playback?",
                       "Wrong Mediafile", MediaCheck::wrongSize);
}

MemberBytes MediaFile::fetchMemberData(int32_t offset, int32_t packedSize, int32_t unpackedSize) const {
  if (unpackedSize <= 0 || !data_) return {};
  if (!rangeIsInside(offset, packedSize, length_)) return MemberBytes::failed(LoadFailure::blobOutsideData);
  const uint8_t* packed = data_ + offset;
  if (packedSize == unpackedSize) return MemberBytes::inPlace(packed, static_cast<size_t>(unpackedSize));

  if (unpackedSize > int64_t(packedSize) * kLargestInflateRatio + kInflateSlack)
    return MemberBytes::failed(LoadFailure::implausibleSize);
  auto size = static_cast<size_t>(unpackedSize);
  std::unique_ptr<uint8_t[]> buffer = allocateWithPurge(size, purge_);
  if (!buffer) return MemberBytes::failed(LoadFailure::outOfMemory);
  uLongf inflated = size;
  // A stream that ends short of the unpacked size would leave bytes undefined: it counts as damaged.
  if (uncompress(buffer.get(), &inflated, packed, static_cast<uLong>(packedSize)) != Z_OK || inflated != size)
    return MemberBytes::failed(LoadFailure::badZlibStream);
  return MemberBytes::owned(std::move(buffer), size);
}

}  // namespace qn
