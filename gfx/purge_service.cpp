#include "gfx/purge_service.h"

#include <utility>

namespace qn {

namespace {
PurgeService& installedService() {
  static PurgeService service;
  return service;
}
}

void setPurgeService(PurgeService service) { installedService() = std::move(service); }

void purgeForAllocation(uint64_t bytesWanted) {
  if (const PurgeService& service = installedService()) service(bytesWanted);
}

}  // namespace qn
