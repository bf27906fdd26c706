// A device's connection as the room service sees it. The transport (a WebSocket session, a test's
// stand-in) sends each message the service writes, in order, and closes when told, after the
// messages sent before. Every call comes on the service's thread.
#pragma once

#include <string>

namespace qn::server {

class Peer {
 public:
  virtual ~Peer() = default;
  virtual void send(std::string message) = 0;
  virtual void close() = 0;
};

}  // namespace qn::server
