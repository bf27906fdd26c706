// Containers may hold themselves (a list appended to itself, a record that holds its list).
// Operations that walk into elements (text, copies, comparison, arithmetic) hold a guard for
// each container they enter; entering a container already on the path, or nesting deeper than
// a fixed limit, stops the walk there instead of recursing until the stack runs out.
#pragma once

#include <algorithm>

namespace qn {

class NestingGuard {
 public:
  static constexpr int kMaxDepth = 64;

  explicit NestingGuard(const void* container) {
    stop_ = depth_ >= kMaxDepth || std::find(path_, path_ + depth_, container) != path_ + depth_;
    if (!stop_) path_[depth_++] = container;
  }
  ~NestingGuard() {
    if (!stop_) --depth_;
  }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

  // True when the container is already being walked, or the walk is too deep.
  bool stop() const { return stop_; }

 private:
  bool stop_;
  // The containers being walked, outermost first. Values live on the movie's thread only.
  static inline const void* path_[kMaxDepth] = {};
  static inline int depth_ = 0;
};

}  // namespace qn
