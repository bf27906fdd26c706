#include "server/server_command_line.h"

#include "net/message_words.h"

namespace qn::server {

namespace {

// HOST:PORT, the host an IPv6 address in brackets or a name or IPv4 address.
bool parseListen(std::string_view text, RoomServerOptions& options) {
  const size_t colon = text.rfind(':');
  if (colon == std::string_view::npos || colon == 0) return false;
  std::string_view host = text.substr(0, colon);
  uint32_t port = 0;
  if (!net::parseNumber(text.substr(colon + 1), 0, 65535, port)) return false;
  if (host.front() == '[') {
    if (host.size() < 3 || host.back() != ']') return false;
    host = host.substr(1, host.size() - 2);
  } else if (host.find(':') != std::string_view::npos) {
    return false;
  }
  options.host = host;
  options.port = static_cast<uint16_t>(port);
  return true;
}

}  // namespace

ServerCommandLine parseServerCommandLine(int argc, const char* const* argv) {
  ServerCommandLine line;
  RoomServerOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view name = argv[i];
    if (name == "--help" || name == "-h") {
      line.helpRequested = true;
      return line;
    }
    if (name == "--version") {
      line.versionRequested = true;
      return line;
    }
    const bool takesValue = name == "--listen" || name == "--store" || name == "--site" || name == "--origin" || name == "--keep-days";
    if (!takesValue) {
      line.error = "unknown option '" + std::string(name) + "'";
      return line;
    }
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
      line.error = "option " + std::string(name) + " needs a value";
      return line;
    }
    const std::string_view value = argv[++i];
    uint32_t days = 0;
    if (name == "--listen" && !parseListen(value, options)) line.error = "--listen needs HOST:PORT, not '" + std::string(value) + "'";
    else if (name == "--keep-days" && !net::parseNumber(value, 1, 36500, days)) line.error = "--keep-days needs a whole number of days from 1";
    else if (name == "--store") options.storePath = value;
    else if (name == "--site") options.site = value;
    else if (name == "--origin") options.origins.emplace_back(value);
    else if (name == "--keep-days") options.keepSeconds = int64_t{days} * 24 * 3600;
    if (!line.error.empty()) return line;
  }
  line.options = std::move(options);
  return line;
}

std::string serverUsage() {
  return "usage: boules-server [options]\n"
         "  --listen HOST:PORT  listen there (default 127.0.0.1:8000; port 0: any free one)\n"
         "  --store FILE        keep the rooms in this SQLite file (default: boules-server/rooms.sqlite\n"
         "                      in $XDG_STATE_HOME, else ~/.local/state)\n"
         "  --site DIR          serve the browser edition's site from DIR on the same address\n"
         "  --origin URL        let pages of that origin join rooms too (repeatable)\n"
         "  --keep-days N       forget a room nobody used for N days (default 7)\n"
         "  --version           print the version\n"
         "  --help              print this text\n";
}

}  // namespace qn::server
