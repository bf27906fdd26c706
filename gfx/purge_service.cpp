#include "gfx/purge_service.h"

namespace qn {

namespace {
PurgeService installedService = nullptr;
}

void setPurgeService(PurgeService service) { installedService = service; }

void purgeForAllocation(uint64_t bytesWanted) {
  if (installedService) installedService(bytesWanted);
}

}  // namespace qn
