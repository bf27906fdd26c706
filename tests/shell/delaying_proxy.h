// A TCP proxy on loopback that holds back what passes through it, both ways: a delay with jitter
// on every chunk, and now and then a stall of a few hundred milliseconds; order is kept. The
// kernel of these machines has no delaying queue discipline, so a test brings its own. It counts
// what it carries (with no delay, a plain counter of the bytes on the wire).
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qn::testing {

struct Delays {
  int baseMs = 150;
  int jitterMs = 40;       // added to the base, from 0 to this
  int stallEveryMs = 1500;
  int stallMs = 400;
};

class DelayingProxy {
 public:
  // Listens on a free loopback port; each connection it takes is carried to `targetPort`.
  DelayingProxy(uint16_t targetPort, Delays delays);
  ~DelayingProxy();  // closes every connection and waits for its threads
  DelayingProxy(const DelayingProxy&) = delete;
  DelayingProxy& operator=(const DelayingProxy&) = delete;

  uint16_t port() const { return port_; }
  // The bytes carried so far, from the clients to the server and back.
  uint64_t bytesToServer() const { return bytes_[0]; }
  uint64_t bytesToClients() const { return bytes_[1]; }

 private:
  struct Pipe;
  void accept();
  void carry(int from, int to, uint32_t seed, std::atomic<uint64_t>& counted);

  uint16_t targetPort_;
  Delays delays_;
  int listener_ = -1;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<uint64_t> bytes_[2] = {0, 0};
  std::mutex mutex_;
  std::vector<int> sockets_;
  std::vector<std::thread> threads_;
  std::thread acceptor_;
};

}  // namespace qn::testing
