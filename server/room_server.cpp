#include "server/room_server.h"

#include "platform/state_folder.h"
#include "server/room_service.h"
#include "server/sqlite_room_store.h"
#include "server/web_socket_server.h"

namespace qn::server {

namespace {

constexpr int kForgetEverySeconds = 3600;

}  // namespace

std::string defaultStorePath(std::string_view program) {
  const std::string folder = platform::stateFolder();
  return folder.empty() ? "" : folder + "/" + std::string(program) + "/rooms.sqlite";
}

std::unique_ptr<RoomServer> RoomServer::open(const RoomServerOptions& options, std::string& problem, std::string& notes) {
  std::unique_ptr<RoomServer> server(new RoomServer());
  const std::string path = options.storePath.empty() ? defaultStorePath("boules-server") : options.storePath;
  if (path.empty()) {
    problem = "no home folder for the store: name one with --store";
    return nullptr;
  }
  server->store_ = SqliteRoomStore::open(path, problem);
  if (!server->store_) return nullptr;
  server->service_ = std::make_unique<RoomService>(*server->store_);
  if (!server->service_->restore(notes)) {
    problem = path + ": " + notes;
    return nullptr;
  }
  server->service_->forgetRoomsIdleFor(options.keepSeconds);
  server->network_ = std::make_unique<WebSocketServer>(*server->service_, WebSocketServerOptions{options.origins, options.site});
  problem = server->network_->listen(options.host, options.port);
  if (!problem.empty()) return nullptr;
  server->network_->every(kForgetEverySeconds, [service = server->service_.get(), keep = options.keepSeconds] {
    service->forgetRoomsIdleFor(keep);
  });
  server->network_->every(1, [service = server->service_.get()] { service->everySecond(); });
  return server;
}

RoomServer::~RoomServer() { stop(); }

uint16_t RoomServer::port() const { return network_->port(); }

void RoomServer::run() { network_->run(true); }

void RoomServer::start() {
  thread_ = std::thread([this] { network_->run(false); });
}

void RoomServer::stop() {
  if (!thread_.joinable()) return;
  network_->stop();
  thread_.join();
}

}  // namespace qn::server
