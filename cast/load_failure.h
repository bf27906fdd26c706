// Why a member's media did not load. A member whose blob is damaged stays unloaded and draws
// nothing, as designed; the reason goes to the debug log once, naming the member.
#pragma once

#include <array>
#include <string_view>

namespace qn {

enum class LoadFailure {
  none,
  nothingToRead,  // no media bound, or a member without data: not damage, nothing is said
  blobOutsideData,
  implausibleSize,
  outOfMemory,
  badZlibStream,
  badBmpHeader,
  undecodableImage,
  alphaSizeDiffers,
  undecodableSound,
  pictureSizeDiffers,  // a finer set's picture is not the scale times the member's own
};

// Indexed by LoadFailure.
inline constexpr std::array<std::string_view, 11> kLoadFailureTexts = {
    "",
    "",
    "blob lies outside the media file",
    "unpacked size is more than the blob can inflate to",
    "out of memory",
    "bad zlib stream",
    "bad BMP header",
    "undecodable image",
    "alpha mask differs in size from the image",
    "undecodable sound",
    "picture is not the scale times the size of the member's own",
};
static_assert(kLoadFailureTexts.size() == static_cast<size_t>(LoadFailure::pictureSizeDiffers) + 1);

// Damage worth telling about: not success, not an absence.
inline constexpr bool isDamage(LoadFailure failure) {
  return failure != LoadFailure::none && failure != LoadFailure::nothingToRead;
}

inline constexpr std::string_view describe(LoadFailure failure) {
  return kLoadFailureTexts[static_cast<size_t>(failure)];
}

// What a decoding step answers: success, or why it failed.
struct LoadResult {
  LoadFailure failure = LoadFailure::none;
  explicit operator bool() const { return failure == LoadFailure::none; }
};

}  // namespace qn
