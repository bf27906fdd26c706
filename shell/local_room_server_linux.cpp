#include "shell/local_room_server.h"

#include "platform/network_address.h"
#include "server/room_server.h"

namespace qn {

namespace {

// The port links of a house's rooms name, when it is free; else any the system gives.
constexpr uint16_t kPreferredPort = 8000;

class ServerOnAThread final : public LocalRoomServer {
 public:
  explicit ServerOnAThread(std::unique_ptr<server::RoomServer> server) : server_(std::move(server)) { server_->start(); }

  net::WebAddress ownAddress() const override { return {false, "127.0.0.1", server_->port(), "/"}; }
  net::WebAddress sharedAddress() const override {
    const std::string address = platform::localNetworkAddress();
    return {false, address.empty() ? "127.0.0.1" : address, server_->port(), "/"};
  }

 private:
  std::unique_ptr<server::RoomServer> server_;
};

}  // namespace

std::unique_ptr<LocalRoomServer> LocalRoomServer::start(std::string& problem) {
  server::RoomServerOptions options;
  options.host = "0.0.0.0";
  options.storePath = server::defaultStorePath("boules");
  std::string notes;
  std::unique_ptr<server::RoomServer> server;
  for (uint16_t port : {kPreferredPort, uint16_t{0}}) {
    options.port = port;
    problem.clear();
    server = server::RoomServer::open(options, problem, notes);
    if (server) break;
  }
  if (!server) return nullptr;
  return std::make_unique<ServerOnAThread>(std::move(server));
}

}  // namespace qn
