#include "shell/local_room_server.h"

namespace qn {

std::unique_ptr<LocalRoomServer> LocalRoomServer::start(std::string& problem) {
  problem = "a page opens its rooms on the server that serves it: give it with --server";
  return nullptr;
}

}  // namespace qn
