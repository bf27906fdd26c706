#include "server/secrets.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>
#include <stdexcept>

#include "net/message_words.h"

namespace qn::server {

std::string randomSecret() {
  uint64_t halves[2];
  auto* bytes = reinterpret_cast<unsigned char*>(halves);
  size_t got = 0;
  while (got < sizeof halves) {
    const ssize_t read = getrandom(bytes + got, sizeof halves - got, 0);
    if (read < 0 && errno == EINTR) continue;
    if (read <= 0) throw std::runtime_error("the system gave no random bytes");
    got += static_cast<size_t>(read);
  }
  return net::hex64(halves[0]) + net::hex64(halves[1]);
}

}  // namespace qn::server
