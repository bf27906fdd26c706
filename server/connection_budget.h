// What one connection may send: messages at a steady rate with room for a burst (a bucket of
// tokens that refills at the rate, one token a message), and a number of refused messages within
// a window before the connection counts as abusive and is closed. A person's play sends a few
// messages a second (input as it happens, stylus moves merged to one a frame, ten marks a
// second); the defaults leave room for a device that replays a recording as fast as it can.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qn::server {

struct ConnectionLimits {
  double messagesPerSecond = 200;
  double burst = 1000;
  double shortCodesPerMinute = 6;   // finds of a room by its short code
  double shortCodeBurst = 6;
  uint32_t refusalsToClose = 20;    // refusals within the window
  int64_t refusalWindowMs = 10'000;
};

class ConnectionBudget {
 public:
  ConnectionBudget(const ConnectionLimits& limits, int64_t nowMs)
      : limits_(limits),
        messages_{limits.burst, nowMs},
        finds_{limits.shortCodeBurst, nowMs},
        windowStart_(nowMs) {}

  // Takes a message's token; false when the connection sends faster than it may.
  bool takeMessage(int64_t nowMs) { return messages_.take(nowMs, limits_.messagesPerSecond / 1000.0, limits_.burst); }
  // Takes a short code's token: a few a minute, so that codes cannot be guessed.
  bool takeFind(int64_t nowMs) {
    return finds_.take(nowMs, limits_.shortCodesPerMinute / 60'000.0, limits_.shortCodeBurst);
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
  // Tokens that refill at a rate up to a burst.
  struct Bucket {
    double tokens;
    int64_t refilledAt;
    bool take(int64_t nowMs, double perMs, double burst) {
      tokens = std::min(burst, tokens + static_cast<double>(nowMs - refilledAt) * perMs);
      refilledAt = nowMs;
      if (tokens < 1) return false;
      tokens -= 1;
      return true;
    }
  };

  ConnectionLimits limits_;
  Bucket messages_;
  Bucket finds_;
  int64_t windowStart_;
  uint32_t refusals_ = 0;
};

}  // namespace qn::server
