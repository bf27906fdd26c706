#include "tests/shell/delaying_proxy.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <random>
#include <string>

namespace qn::testing {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

DelayingProxy::DelayingProxy(uint16_t targetPort, Delays delays) : targetPort_(targetPort), delays_(delays) {
  listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address = loopback(0);
  socklen_t length = sizeof address;
  if (listener_ < 0 || bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0 ||
      getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return;
  port_ = ntohs(address.sin_port);
  acceptor_ = std::thread([this] { accept(); });
}

DelayingProxy::~DelayingProxy() {
  stopping_ = true;
  if (acceptor_.joinable()) acceptor_.join();
  {
    std::lock_guard lock(mutex_);
    for (int socket : sockets_) shutdown(socket, SHUT_RDWR);
  }
  for (std::thread& thread : threads_) thread.join();
  for (int socket : sockets_) close(socket);
  if (listener_ >= 0) close(listener_);
}

void DelayingProxy::accept() {
  uint32_t seed = 1;
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (poll(&waiting, 1, 100) <= 0) continue;
    const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) continue;
    const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const sockaddr_in target = loopback(targetPort_);
    if (server < 0 || connect(server, reinterpret_cast<const sockaddr*>(&target), sizeof target) != 0) {
      close(client);
      if (server >= 0) close(server);
      continue;
    }
    for (int socket : {client, server}) {
      const int on = 1;
      setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    std::lock_guard lock(mutex_);
    sockets_.push_back(client);
    sockets_.push_back(server);
    threads_.emplace_back([this, client, server, seed] { carry(client, server, seed, bytes_[0]); });
    threads_.emplace_back([this, client, server, seed] { carry(server, client, seed + 1, bytes_[1]); });
    seed += 2;
  }
}

// Reads `from` and writes to `to` what it read, each chunk at its release time: one thread reads,
// this one writes.
void DelayingProxy::carry(int from, int to, uint32_t seed, std::atomic<uint64_t>& counted) {
  struct Chunk {
    Clock::time_point release;
    std::string bytes;
  };
  std::mutex mutex;
  std::condition_variable arrived;
  std::deque<Chunk> queue;
  bool ended = false;
  std::thread reader([&] {
    std::mt19937 random(seed);
    Clock::time_point last = Clock::now(), nextStall = last + std::chrono::milliseconds(delays_.stallEveryMs);
    char buffer[16384];
    while (true) {
      const ssize_t got = read(from, buffer, sizeof buffer);
      if (got <= 0) break;
      counted += static_cast<uint64_t>(got);
      const Clock::time_point now = Clock::now();
      Clock::time_point release =
          now + std::chrono::milliseconds(delays_.baseMs + std::uniform_int_distribution<int>(0, delays_.jitterMs)(random));
      if (delays_.stallMs > 0 && now >= nextStall) {
        release += std::chrono::milliseconds(delays_.stallMs);
        nextStall = now + std::chrono::milliseconds(delays_.stallEveryMs);
      }
      last = std::max(last, release);  // order is kept
      std::lock_guard lock(mutex);
      queue.push_back({last, std::string(buffer, static_cast<size_t>(got))});
      arrived.notify_one();
    }
    std::lock_guard lock(mutex);
    ended = true;
    arrived.notify_one();
  });
  while (true) {
    std::unique_lock lock(mutex);
    arrived.wait(lock, [&] { return ended || !queue.empty(); });
    if (queue.empty()) break;
    Chunk chunk = std::move(queue.front());
    queue.pop_front();
    lock.unlock();
    std::this_thread::sleep_until(chunk.release);
    for (size_t sent = 0; sent < chunk.bytes.size();) {
      const ssize_t wrote = write(to, chunk.bytes.data() + sent, chunk.bytes.size() - sent);
      if (wrote <= 0) break;
      sent += static_cast<size_t>(wrote);
    }
  }
  shutdown(to, SHUT_WR);
  reader.join();
}

}  // namespace qn::testing
