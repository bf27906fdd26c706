#include "platform/network_address.h"

namespace qn::platform {

// A page cannot see the machine's interfaces.
std::string localNetworkAddress() { return {}; }

}  // namespace qn::platform
