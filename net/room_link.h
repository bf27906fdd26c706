// Room links and server addresses.
//
// A room's link is the address of the server's site with the room in its fragment, so that a
// browser opens the page that joins it and the desktop reads the same text (`--join LINK`):
//
//   http://HOST[:PORT][/PATH]/#room=<room>                         anyone who has it may watch or
//                                                                  take a free seat
//   http://HOST[:PORT][/PATH]/#room=<room>&device=<n>&key=<secret> a seated device's own link: it
//                                                                  takes back that device's seats
//
// (https for a server behind TLS). The fragment never reaches a server's request log. The server
// the link names is the same address as a WebSocket: ws://HOST[:PORT][/PATH]/ (wss for https),
// the form `--server` and `boules-server --listen` use.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/log_entry.h"

namespace qn::net {

// An address of a web server: http/https (a site, a link) or ws/wss (the room server).
struct WebAddress {
  bool secure = false;  // https or wss
  std::string host;     // a name, an IPv4 address, or an IPv6 address in brackets
  uint16_t port = 0;    // 0: the scheme's own (80 or 443)
  std::string path = "/";  // starts and ends with '/'
  bool operator==(const WebAddress&) const = default;

  uint16_t portOrDefault() const { return port != 0 ? port : secure ? 443 : 80; }
  // The host without the brackets of an IPv6 address.
  std::string hostName() const;
};

// Reads an address with one of the two schemes `plain` and `secure` ("http" and "https", or
// "ws" and "wss"); nothing after the path. Empty when good, else what is wrong.
std::string parseWebAddress(std::string_view text, std::string_view plain, std::string_view secure, WebAddress& address);
std::string formatWebAddress(const WebAddress& address, std::string_view plain, std::string_view secure);

struct RoomLink {
  WebAddress site;       // http or https
  std::string room;
  DeviceId device = 0;   // a seated device's own link: the device and its secret
  std::string secret;
  bool operator==(const RoomLink&) const = default;
};

std::string parseRoomLink(std::string_view text, RoomLink& link);
std::string formatRoomLink(const RoomLink& link);

// `--server URL[,URL...]`: ws:// or wss:// addresses, tried in turn.
std::string parseServerList(std::string_view text, std::vector<WebAddress>& servers);
std::string serverUrl(const WebAddress& address);  // ws://... or wss://...

}  // namespace qn::net
