// The binding of the movie's packed media data: the program's own embedded media first, then the
// external file named by the movie's `mediaFileName` in the program's folder. The cast subsystem
// implements it; its members fetch their bytes from the same binding.
#pragma once

#include <cstdint>
#include <string_view>

namespace qn {

// The outcome of binding and validating the media data. Anything but `accepted` ends the program;
// the user has then been told through that case's dialog.
enum class MediaCheck { accepted, missing, invalid, wrongSize };

class MediaService {
 public:
  virtual ~MediaService() = default;
  // Binds and validates the media data against the expected byte size (0: any size passes). The
  // user has been told of any problem through the defined dialogs; a refusal means the program
  // must end (the movie then posts its close request and never enters a frame).
  virtual MediaCheck open(std::string_view mediaFileName, int64_t expectedSize) = 0;
  // Releases the binding (resource or mapped file); later fetches give nothing.
  virtual void close() = 0;
};

}  // namespace qn
