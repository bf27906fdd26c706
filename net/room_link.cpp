#include "net/room_link.h"

#include <algorithm>

#include "net/message_words.h"

namespace qn::net {

namespace {

bool isNameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.';
}
bool isPathCharacter(char c) { return isNameCharacter(c) || c == '/' || c == '_' || c == '~'; }
bool isIpv6Character(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' || c == '.'; }

constexpr size_t kLongestHost = 253;
constexpr size_t kLongestPath = 200;

}  // namespace

std::string WebAddress::hostName() const {
  if (host.size() >= 2 && host.front() == '[') return host.substr(1, host.size() - 2);
  return host;
}

std::string parseWebAddress(std::string_view text, std::string_view plain, std::string_view secure, WebAddress& address) {
  address = WebAddress{};
  const size_t schemeEnd = text.find("://");
  if (schemeEnd == std::string_view::npos) return "no scheme (" + std::string(plain) + "://...)";
  const std::string_view scheme = text.substr(0, schemeEnd);
  if (scheme != plain && scheme != secure)
    return "the scheme is " + std::string(plain) + " or " + std::string(secure) + ", not '" + std::string(scheme) + "'";
  address.secure = scheme == secure;
  std::string_view rest = text.substr(schemeEnd + 3);
  const size_t pathStart = rest.find('/');
  std::string_view authority = rest.substr(0, pathStart);
  std::string_view path = pathStart == std::string_view::npos ? std::string_view("/") : rest.substr(pathStart);

  // The host, then ":port" or nothing.
  std::string_view host = authority, afterHost;
  if (!authority.empty() && authority.front() == '[') {
    const size_t close = authority.find(']');
    if (close == std::string_view::npos) return "an IPv6 address without its closing bracket";
    host = authority.substr(0, close + 1);
    afterHost = authority.substr(close + 1);
    if (host.size() < 4 || !std::all_of(host.begin() + 1, host.end() - 1, isIpv6Character)) return "bad IPv6 address";
  } else {
    host = authority.substr(0, authority.find(':'));
    afterHost = authority.substr(host.size());
    if (host.empty() || host.size() > kLongestHost || !std::all_of(host.begin(), host.end(), isNameCharacter))
      return "bad host name";
  }
  if (!afterHost.empty()) {
    uint32_t port = 0;
    if (afterHost.front() != ':' || !parseNumber(afterHost.substr(1), 1, 65535, port)) return "bad port";
    address.port = static_cast<uint16_t>(port);
  }
  if (path.size() > kLongestPath || !std::all_of(path.begin(), path.end(), isPathCharacter) ||
      path.find("..") != std::string_view::npos)
    return "bad path";
  address.host = host;
  address.path = path;
  if (address.path.back() != '/') address.path += '/';
  return {};
}

std::string formatWebAddress(const WebAddress& address, std::string_view plain, std::string_view secure) {
  std::string text(address.secure ? secure : plain);
  text += "://";
  text += address.host;
  if (address.port != 0) {
    text += ':';
    text += std::to_string(address.port);
  }
  return text + address.path;
}

std::string parseRoomLink(std::string_view text, RoomLink& link) {
  link = RoomLink{};
  const size_t hash = text.find('#');
  if (hash == std::string_view::npos) return "the link names no room (no #room=...)";
  if (std::string problem = parseWebAddress(text.substr(0, hash), "http", "https", link.site); !problem.empty()) return problem;
  std::string_view fragment = text.substr(hash + 1);
  bool seenKey = false;
  while (!fragment.empty()) {
    const size_t amp = fragment.find('&');
    const std::string_view pair = fragment.substr(0, amp);
    fragment = amp == std::string_view::npos ? std::string_view() : fragment.substr(amp + 1);
    const size_t equals = pair.find('=');
    if (equals == std::string_view::npos) return "bad link fragment";
    const std::string_view name = pair.substr(0, equals), value = pair.substr(equals + 1);
    if (name == "room" && link.room.empty() && isSecret(value)) link.room = value;
    else if (name == "device" && link.device == 0 && parseNumber(value, 1, kMostDevices, link.device)) continue;
    else if (name == "key" && !seenKey && isSecret(value)) link.secret = value, seenKey = true;
    else return "bad link fragment '" + std::string(name) + "'";
  }
  if (link.room.empty()) return "the link names no room";
  if ((link.device != 0) != seenKey) return "a device's own link has both its device and its key";
  return {};
}

std::string formatRoomLink(const RoomLink& link) {
  std::string text = formatWebAddress(link.site, "http", "https") + "#room=" + link.room;
  if (link.device != 0) text += "&device=" + std::to_string(link.device) + "&key=" + link.secret;
  return text;
}

std::string parseServerList(std::string_view text, std::vector<WebAddress>& servers) {
  servers.clear();
  while (true) {
    const size_t comma = text.find(',');
    WebAddress address;
    if (std::string problem = parseWebAddress(text.substr(0, comma), "ws", "wss", address); !problem.empty()) return problem;
    servers.push_back(address);
    if (comma == std::string_view::npos) return {};
    text = text.substr(comma + 1);
  }
}

std::string serverUrl(const WebAddress& address) { return formatWebAddress(address, "ws", "wss"); }

}  // namespace qn::net
