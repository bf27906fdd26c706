// This machine's address on the local network, as another device in the house reaches it.
#pragma once

#include <string>

namespace qn::platform {

// The IPv4 address of the first network interface that is up and not the loopback; empty when
// there is none (or, in the browser, no way to know).
std::string localNetworkAddress();

}  // namespace qn::platform
