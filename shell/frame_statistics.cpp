#include "shell/frame_statistics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace qn {

void DurationHistogram::add(uint64_t microseconds) {
  ++counts_[std::min<uint64_t>(microseconds, kLongest)];
  ++count_;
  minimum_ = std::min(minimum_, microseconds);
  maximum_ = std::max(maximum_, microseconds);
}

uint64_t DurationHistogram::percentile(double fraction) const {
  if (count_ == 0) return 0;
  const auto wanted = static_cast<uint64_t>(std::ceil(fraction * static_cast<double>(count_)));
  uint64_t seen = 0;
  for (size_t microseconds = 0; microseconds < counts_.size(); ++microseconds) {
    seen += counts_[microseconds];
    if (seen >= std::max<uint64_t>(wanted, 1)) return std::min<uint64_t>(microseconds, maximum_);
  }
  return maximum_;
}

void FrameStatistics::add(const FrameTimes& frame) {
  tick_.add(frame.tickNs / 1000);
  compose_.add(frame.composeNs / 1000);
  present_.add(frame.presentNs / 1000);
  total_.add((frame.tickNs + frame.composeNs + frame.presentNs) / 1000);
  cpu_.add(frame.cpuNs / 1000);
}

std::string FrameStatistics::summary(uint64_t peakResidentBytes, size_t cellsInUse) const {
  std::string text = "frames run: " + std::to_string(frames()) + "\n";
  text += "time per frame, microseconds     min   median      p99      max\n";
  const std::pair<const char*, const DurationHistogram*> rows[] = {
      {"movie tick", &tick_}, {"composition", &compose_}, {"present", &present_},
      {"total", &total_},     {"CPU time", &cpu_}};
  for (const auto& [name, histogram] : rows) {
    char line[128];
    std::snprintf(line, sizeof line, "  %-28s %6llu %8llu %8llu %8llu\n", name,
                  static_cast<unsigned long long>(histogram->minimum()),
                  static_cast<unsigned long long>(histogram->percentile(0.5)),
                  static_cast<unsigned long long>(histogram->percentile(0.99)),
                  static_cast<unsigned long long>(histogram->maximum()));
    text += line;
  }
  text += "peak resident memory: " + std::to_string(peakResidentBytes / 1024) + " KiB\n";
  text += "script pool cells in use: " + std::to_string(cellsInUse) + "\n";
  return text;
}

}  // namespace qn
