#include "server/secrets.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

#include "net/message_words.h"
#include "net/room_protocol.h"

namespace qn::server {

namespace {

void randomBytes(void* into, size_t size) {
  auto* bytes = static_cast<unsigned char*>(into);
  size_t got = 0;
  while (got < size) {
    const ssize_t read = getrandom(bytes + got, size - got, 0);
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) throw std::runtime_error("the system gave no random bytes");
    got += static_cast<size_t>(read);
  }
}

}  // namespace

std::string randomSecret() {
  uint64_t halves[2];
  randomBytes(halves, sizeof halves);
  return net::hex64(halves[0]) + net::hex64(halves[1]);
}

std::string randomShortCode() {
  uint64_t bits = 0;
  randomBytes(&bits, sizeof bits);
  std::string code;
  for (size_t i = 0; i < net::kShortCodeLength; ++i, bits /= net::kShortCodeSymbols.size())
    code += net::kShortCodeSymbols[bits % net::kShortCodeSymbols.size()];
  return code;
}

}  // namespace qn::server
