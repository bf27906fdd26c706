// Where the time of each frame went, kept as histograms of whole microseconds so that a run of
// any length keeps the same small memory: the movie's own work (scripts, sprites, sound calls),
// composing the stage, presenting it, their total, and the main thread's CPU time per frame.
// At the end: minimum, median, 99th percentile and maximum of each, peak resident memory and the
// script pool's cells in use.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qn {

// Durations in microseconds; exact minimum and maximum, percentiles to the microsecond up to
// kLongest (longer ones count as kLongest).
class DurationHistogram {
 public:
  static constexpr uint32_t kLongest = 100'000;
  DurationHistogram() : counts_(kLongest + 1, 0) {}

  void add(uint64_t microseconds);
  uint64_t count() const { return count_; }
  uint64_t minimum() const { return count_ ? minimum_ : 0; }
  uint64_t maximum() const { return maximum_; }
  // The smallest duration that at least `fraction` of the frames stay at or under.
  uint64_t percentile(double fraction) const;

 private:
  std::vector<uint32_t> counts_;
  uint64_t count_ = 0;
  uint64_t minimum_ = UINT64_MAX;
  uint64_t maximum_ = 0;
};

// One frame's split, in nanoseconds of the high-resolution counter converted by the caller.
struct FrameTimes {
  uint64_t tickNs = 0;     // the movie's work apart from composing and presenting
  uint64_t composeNs = 0;
  uint64_t presentNs = 0;
  uint64_t cpuNs = 0;      // the main thread's CPU time over the whole frame
};

class FrameStatistics {
 public:
  void add(const FrameTimes& frame);
  uint64_t frames() const { return total_.count(); }
  // The text printed at exit; `peakResidentBytes` and `cellsInUse` are read by the caller.
  std::string summary(uint64_t peakResidentBytes, size_t cellsInUse) const;

 private:
  DurationHistogram tick_, compose_, present_, total_, cpu_;
};

}  // namespace qn
