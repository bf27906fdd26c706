// `boules-server`'s options:
//
//   --listen HOST:PORT   the address to listen on (default 127.0.0.1:8000; port 0: any free one;
//                        an IPv6 address in brackets, [::1]:8000)
//   --store FILE         the rooms' SQLite file (default: boules-server/rooms.sqlite in the XDG
//                        state folder, ~/.local/state)
//   --site DIR           serve the browser edition's site from DIR over HTTP on the same address
//   --origin URL         let pages of that origin (https://example.org) join rooms too (repeatable)
//   --keep-days N        forget a room nobody used for N days (default 7)
//   --version, --help
#pragma once

#include <optional>
#include <string>

#include "server/room_server.h"

namespace qn::server {

struct ServerCommandLine {
  std::optional<RoomServerOptions> options;  // nothing when refused, or for --help and --version
  bool helpRequested = false;
  bool versionRequested = false;
  std::string error;
};

ServerCommandLine parseServerCommandLine(int argc, const char* const* argv);
std::string serverUsage();

}  // namespace qn::server
