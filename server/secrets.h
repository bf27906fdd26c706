// Room links and seat secrets: 128 bits from the operating system's random source (never a
// seeded generator), as 32 lowercase hexadecimal digits. Short codes from the same source.
#pragma once

#include <string>

namespace qn::server {

std::string randomSecret();
// net::kShortCodeLength symbols of net::kShortCodeSymbols.
std::string randomShortCode();

}  // namespace qn::server
