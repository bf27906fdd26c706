// Room links and seat secrets: 128 bits from the operating system's random source (never a
// seeded generator), as 32 lowercase hexadecimal digits.
#pragma once

#include <string>

namespace qn::server {

std::string randomSecret();

}  // namespace qn::server
