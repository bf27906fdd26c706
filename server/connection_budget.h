// What one connection may send: messages at a steady rate with room for a burst (a bucket of
// tokens that refills at the rate, one token a message), and a number of refused messages within
// a window before the connection counts as abusive and is closed. A person's play sends a few
// messages a second (input as it happens, stylus moves merged to one a frame, ten marks a
// second); the defaults leave room for a device that replays a recording as fast as it can.
#pragma once

#include <cstdint>

namespace qn::server {

struct ConnectionLimits {
  double messagesPerSecond = 200;
  double burst = 1000;
  uint32_t refusalsToClose = 20;    // refusals within the window
  int64_t refusalWindowMs = 10'000;
};

class ConnectionBudget {
 public:
  ConnectionBudget(const ConnectionLimits& limits, int64_t nowMs)
      : limits_(limits), tokens_(limits.burst), refilledAt_(nowMs), windowStart_(nowMs) {}

  // Takes a message's token; false when the connection sends faster than it may.
  bool takeMessage(int64_t nowMs) {
    tokens_ += static_cast<double>(nowMs - refilledAt_) * limits_.messagesPerSecond / 1000.0;
    if (tokens_ > limits_.burst) tokens_ = limits_.burst;
    refilledAt_ = nowMs;
    if (tokens_ < 1) return false;
    tokens_ -= 1;
    return true;
  }
  // Counts a refused message; true once the connection has had too many.
  bool countRefusal(int64_t nowMs) {
    if (nowMs - windowStart_ > limits_.refusalWindowMs) {
      windowStart_ = nowMs;
      refusals_ = 0;
    }
    return ++refusals_ >= limits_.refusalsToClose;
  }

 private:
  ConnectionLimits limits_;
  double tokens_;
  int64_t refilledAt_;
  int64_t windowStart_;
  uint32_t refusals_ = 0;
};

}  // namespace qn::server
