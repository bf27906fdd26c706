// The room server's network side: one listening socket, HTTP and WebSocket on it (Boost.Beast on
// Asio, one thread: the room service's). A WebSocket upgrade on any path becomes a connection of
// the room service (server/room_service.h), its text messages carried both ways; any other GET
// is answered from the site folder when one is given (the browser edition's page, so one
// address serves the page and its rooms), else "404".
//
// A browser says where its page came from (Origin): a connection from a page of another site is
// refused, unless that origin is allowed by name. Programs that send no Origin (the desktop) are
// let in. A message over 4 KiB closes its connection at once; a connection that stops answering
// the server's pings is closed within 30 seconds.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qn::server {

class RoomService;

struct WebSocketServerOptions {
  std::vector<std::string> origins;  // browser origins allowed besides the server's own address
  std::string site;                  // a folder served over HTTP; empty for none
};

class WebSocketServer {
 public:
  WebSocketServer(RoomService& service, WebSocketServerOptions options);
  ~WebSocketServer();
  WebSocketServer(const WebSocketServer&) = delete;
  WebSocketServer& operator=(const WebSocketServer&) = delete;

  // Listens on `host` (a name or an address; "0.0.0.0" for every IPv4 interface) and `port` (0:
  // one the system picks); the problem, or empty.
  std::string listen(const std::string& host, uint16_t port);
  uint16_t port() const;

  // Serves on the calling thread until `stop`, or until SIGINT or SIGTERM when `stopOnSignals`.
  void run(bool stopOnSignals);
  // Stops serving: every connection is told and closed. Safe from any thread.
  void stop();
  // Runs `work` on the serving thread (a store's report, a timer's work).
  void post(std::function<void()> work);
  // Runs `work` on the serving thread every `seconds` while it serves.
  void every(int seconds, std::function<void()> work);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qn::server
