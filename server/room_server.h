// A whole room server: the embedded store (server/sqlite_room_store.h), the room service with
// every room it kept, and the network side, listening. `boules-server` runs one on its main
// thread; the desktop program's `--host` without `--server` runs one on a thread of its own, so
// that two computers in one house need nothing else.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace qn::server {

class RoomService;
class SqliteRoomStore;
class WebSocketServer;

struct RoomServerOptions {
  std::string host = "127.0.0.1";   // the address to listen on
  uint16_t port = 8000;             // 0: one the system picks
  std::string storePath;            // the store; empty for defaultStorePath("boules-server")
  std::string site;                 // a folder to serve over HTTP; empty for none
  std::vector<std::string> origins;  // browser origins allowed besides the server's own
  int64_t keepSeconds = 7 * 24 * 3600;  // a room nobody uses is forgotten after this long
};

// rooms.sqlite in the program's folder of the XDG state folder; empty without a home.
std::string defaultStorePath(std::string_view program);

class RoomServer {
 public:
  // Opens the store, takes back its rooms and listens; null with the reason when it cannot.
  // What taking the rooms back found wrong (a damaged entry) is in `notes`.
  static std::unique_ptr<RoomServer> open(const RoomServerOptions& options, std::string& problem, std::string& notes);
  ~RoomServer();  // stops, and waits for its thread
  RoomServer(const RoomServer&) = delete;
  RoomServer& operator=(const RoomServer&) = delete;

  uint16_t port() const;
  // Serves on the calling thread until SIGINT or SIGTERM (or `stop`).
  void run();
  // Serves on a thread of its own.
  void start();
  void stop();

 private:
  RoomServer() = default;

  std::unique_ptr<SqliteRoomStore> store_;
  std::unique_ptr<RoomService> service_;
  std::unique_ptr<WebSocketServer> network_;
  std::thread thread_;
};

}  // namespace qn::server
