// A WebSocket connection to a server, with text messages both ways, that never blocks its user:
// messages to send are queued and go in order; messages received wait in an inbox until taken.
// On the desktop the connection runs on a thread of its own (Boost.Beast on Asio); in the
// browser on the page's own WebSocket.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qn::platform {

class WebSocket {
 public:
  enum class State { connecting, open, closed };

  // Starts connecting to `url` (ws://HOST[:PORT]/PATH; wss:// where the edition has TLS).
  static std::unique_ptr<WebSocket> connect(const std::string& url);
  virtual ~WebSocket() = default;

  virtual State state() const = 0;
  // Why it closed (a refused connection, a lost network, the server's close), once closed.
  virtual std::string closeReason() const = 0;
  // Queued; dropped when the connection has closed.
  virtual void send(std::string message) = 0;
  // The next message received, in order, if one waits.
  virtual std::optional<std::string> receive() = 0;
  // Waits until a message arrives or the state changes, at most `milliseconds` (in the browser,
  // which must never block, not at all).
  virtual void waitUpTo(int32_t milliseconds) = 0;
  // Closes (a close handshake, bounded in time); nothing is received after it.
  virtual void close() = 0;
};

}  // namespace qn::platform
