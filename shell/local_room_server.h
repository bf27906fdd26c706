// The room server inside this program (`--host` without `--server`): the whole `boules-server`
// on a thread of its own, listening on every interface of the machine, so that another computer
// or a phone in the house joins by the link without a server of its own. It keeps its rooms in
// rooms.sqlite in the program's state folder. The browser edition has none: a page opens its
// rooms on the server that serves it.
#pragma once

#include <memory>
#include <string>

#include "net/room_link.h"

namespace qn {

class LocalRoomServer {
 public:
  // Starts it; null with the reason when it cannot.
  static std::unique_ptr<LocalRoomServer> start(std::string& problem);
  virtual ~LocalRoomServer() = default;

  // Where this program reaches it (the loopback) and where others do (this machine's address on
  // the local network, as links name it).
  virtual net::WebAddress ownAddress() const = 0;
  virtual net::WebAddress sharedAddress() const = 0;
};

}  // namespace qn
