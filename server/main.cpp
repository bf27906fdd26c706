// boules-server: the room server. Several devices play one game by sharing its room's log of
// input through it (server/room_service.h); it keeps every room in a SQLite file, so that stopped
// or killed it comes back with every room as it was. Once it listens it prints
// "listening on ws://HOST:PORT/" on standard output, flushed; SIGINT or SIGTERM stop it.
#include <cstdio>
#include <exception>
#include <string>

#include "net/room_link.h"
#include "server/room_server.h"
#include "server/server_command_line.h"

int main(int argc, char** argv) {
  using namespace qn::server;
  ServerCommandLine line = parseServerCommandLine(argc, argv);
  if (line.helpRequested) {
    std::fputs(serverUsage().c_str(), stdout);
    return 0;
  }
  if (line.versionRequested) {
    std::puts("boules-server " BOULES_VERSION);
    return 0;
  }
  if (!line.options) {
    std::fprintf(stderr, "boules-server: %s\n%s", line.error.c_str(), serverUsage().c_str());
    return 2;
  }
  try {
    std::string problem, notes;
    std::unique_ptr<RoomServer> server = RoomServer::open(*line.options, problem, notes);
    if (!notes.empty()) std::fprintf(stderr, "boules-server: %s", notes.c_str());
    if (!server) {
      std::fprintf(stderr, "boules-server: %s\n", problem.c_str());
      return 1;
    }
    qn::net::WebAddress address{false, line.options->host, server->port(), "/"};
    if (address.host.find(':') != std::string::npos) address.host = "[" + address.host + "]";
    std::printf("listening on %s\n", qn::net::serverUrl(address).c_str());
    std::fflush(stdout);
    server->run();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "boules-server: unexpected error, the server stops: %s\n", error.what());
    return 1;
  }
  return 0;
}
